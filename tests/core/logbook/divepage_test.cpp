#include "logbook/daynumber.h"
#include "logbook/divepage.h"
#include "logbook/fieldcatalogue.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace zorv::logbook;

namespace {

DiveRecord dive(int day, const char *place, const char *site)
{
    DiveRecord r;
    r.date = dayNumber(day, 3, 2004);
    r.entryTime = 600;
    setFixedText(r.place, place);
    setFixedText(r.site, site);
    r.duration = 45;
    r.maxDepth = 1234;
    r.extra.weights = 800;
    return r;
}

std::vector<int> controlIds(const std::vector<DivePageRow> &rows)
{
    std::vector<int> ids;
    for (const DivePageRow &row : rows)
        ids.push_back(row.controlId);
    return ids;
}

const DivePageRow &row(const std::vector<DivePageRow> &rows, int controlId)
{
    auto it = std::find_if(rows.begin(), rows.end(), [&](const DivePageRow &r) { return r.controlId == controlId; });
    EXPECT_NE(it, rows.end()) << controlId;
    return *it;
}

class DivePage : public testing::Test {
protected:
    void SetUp() override
    {
        logbook.setPath("/tmp/plong\xC3\xA9"
                        "es.log");
        logbook.insertDive(dive(5, "Lac L\x82man", "Port"));
        logbook.insertDive(dive(6, "Mer Rouge", ""));
    }

    Logbook logbook;
};

TEST_F(DivePage, ListLinesWithAndWithoutSite)
{
    EXPECT_EQ(diveListLine(logbook, 1), " \t00001\t05.03.04\tLac Léman, Port");
    EXPECT_EQ(diveListLine(logbook, 2), " \t00002\t06.03.04\tMer Rouge");
    EXPECT_EQ(diveListLine(logbook, 3), "");

    DiveRecord hand = dive(7, "Ici", "");
    hand.profileLength = 20;
    hand.profileHeader[0] = kHandProfileHeaderBase;
    logbook.insertDive(hand);
    DiveRecord undated = dive(1, "", "");
    undated.date = kNoDate;
    logbook.insertDive(undated);
    EXPECT_EQ(diveListLine(logbook, 4), "H\t00004\t07.03.04\tIci");
    EXPECT_EQ(diveListLine(logbook, 1), " \t00001\t        \t");
}

TEST_F(DivePage, RowsFollowTheFormAndWeightsNeedBothSwitches)
{
    const FieldCatalogue catalogue(logbook);
    const std::vector<int> expected { 1037, 1038, 1040, 1041, 1063, 1042, 1043, 1044, 1045, 1046, 1065, 1047, 1048,
        1049, 1050, 1051, 1071, 1052, 1067, 1070, 1068, 1053, 1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062,
        1064 };
    EXPECT_EQ(controlIds(divePage(logbook, catalogue, 1, { Mode::Standard, true })), expected);
    EXPECT_EQ(controlIds(divePage(logbook, catalogue, 1, { Mode::Advanced, false })), expected);

    const auto rows = divePage(logbook, catalogue, 1, { Mode::Advanced, true });
    ASSERT_EQ(rows.size(), expected.size() + 1);
    const auto weights = std::find_if(rows.begin(), rows.end(), [](const auto &r) { return r.controlId == 1069; });
    ASSERT_NE(weights, rows.end());
    EXPECT_EQ(std::prev(weights)->controlId, 1068);
    EXPECT_EQ(*weights, (DivePageRow { 1069, "Plombs:", "8.0", 1368, "kg" }));
}

TEST_F(DivePage, HeaderAndValuesFollowTheLogbookAndUnits)
{
    const FieldCatalogue catalogue(logbook);
    auto rows = divePage(logbook, catalogue, 1, {});
    EXPECT_EQ(row(rows, 1037).value, "/tmp/plongées.log *");
    EXPECT_EQ(row(rows, 1037).label, " Fichier:");
    EXPECT_EQ(row(rows, 1038).value, "2");
    EXPECT_EQ(row(rows, 1041).value, "1:30");
    EXPECT_EQ(row(rows, 1042).value, "Ve, 05.Mars.2004");
    EXPECT_EQ(row(rows, 1044).value, "Lac Léman");
    EXPECT_EQ(row(rows, 1046).label, "");
    EXPECT_EQ(row(rows, 1065).value, "Pas de profil");
    EXPECT_EQ(row(rows, 1054).label, "Prof. moy.:");
    EXPECT_EQ(row(rows, 1053).value, "12.3");
    EXPECT_EQ(row(rows, 1053).unit, "m");
    EXPECT_EQ(row(rows, 1040).unitControlId, 1360);
    EXPECT_EQ(row(rows, 1058).unitControlId, 1361);
    EXPECT_EQ(row(rows, 1056).unit, "°C");

    logbook.setUnitSystem(UnitSystem::Imperial);
    rows = divePage(logbook, catalogue, 1, {});
    EXPECT_EQ(row(rows, 1053).value, "40");
    EXPECT_EQ(row(rows, 1053).unit, "ft");
    EXPECT_EQ(row(rows, 1068).unit, "ft");
    EXPECT_EQ(row(rows, 1067).unit, "psi");
    EXPECT_EQ(row(rows, 1052).unit, "cft");
    EXPECT_EQ(row(rows, 1040).unit, "cft/min");

    // An empty logbook shows the blank record rather than failing.
    Logbook empty;
    const FieldCatalogue emptyCatalogue(empty);
    rows = divePage(empty, emptyCatalogue, empty.currentDive(), {});
    EXPECT_EQ(row(rows, 1042).value, "");
    EXPECT_EQ(row(rows, 1041).value, "0:00");
}

} // namespace
