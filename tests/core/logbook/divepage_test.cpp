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

using C = PageControl;

std::vector<C> controlIds(const std::vector<DivePageRow> &rows)
{
    std::vector<C> ids;
    for (const DivePageRow &row : rows)
        ids.push_back(row.controlId);
    return ids;
}

const DivePageRow &row(const std::vector<DivePageRow> &rows, C controlId)
{
    auto it = std::find_if(rows.begin(), rows.end(), [&](const DivePageRow &r) { return r.controlId == controlId; });
    EXPECT_NE(it, rows.end()) << static_cast<int>(controlId);
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
    const std::vector<C> expected { C::File, C::DiveCount, C::MeanAirConsumption, C::TotalTime, C::DiveNumber, C::Date,
        C::EntryTime, C::Place, C::Site, C::ComputerName, C::ProfileKind, C::AltitudeClass, C::SurfaceInterval,
        C::Weather, C::AirTemperature, C::Suit, C::Model, C::TankVolume, C::TankPressure, C::TankMaterial,
        C::Visibility, C::MaxDepth, C::AverageDepth, C::Duration, C::MinWaterTemperature, C::AirUsed, C::AirConsumption,
        C::DiveType, C::Activities, C::Warnings, C::Partners, C::Comment };
    EXPECT_EQ(controlIds(divePage(logbook, catalogue, 1, { Mode::Standard, true })), expected);
    EXPECT_EQ(controlIds(divePage(logbook, catalogue, 1, { Mode::Advanced, false })), expected);

    const auto rows = divePage(logbook, catalogue, 1, { Mode::Advanced, true });
    ASSERT_EQ(rows.size(), expected.size() + 1);
    const auto weights
        = std::find_if(rows.begin(), rows.end(), [](const auto &r) { return r.controlId == C::Weights; });
    ASSERT_NE(weights, rows.end());
    EXPECT_EQ(std::prev(weights)->controlId, C::Visibility);
    EXPECT_EQ(*weights, (DivePageRow { C::Weights, "Plombs:", "8.0", C::WeightsUnit, "kg" }));
}

TEST_F(DivePage, HeaderAndValuesFollowTheLogbookAndUnits)
{
    const FieldCatalogue catalogue(logbook);
    auto rows = divePage(logbook, catalogue, 1, {});
    EXPECT_EQ(row(rows, C::File).value, "/tmp/plongées.log *");
    EXPECT_EQ(row(rows, C::File).label, " Fichier:");
    EXPECT_EQ(row(rows, C::DiveCount).value, "2");
    EXPECT_EQ(row(rows, C::TotalTime).value, "1:30");
    EXPECT_EQ(row(rows, C::Date).value, "Ve, 05.Mars.2004");
    EXPECT_EQ(row(rows, C::Place).value, "Lac Léman");
    EXPECT_EQ(row(rows, C::ComputerName).label, "");
    EXPECT_EQ(row(rows, C::ProfileKind).value, "Pas de profil");
    EXPECT_EQ(row(rows, C::AverageDepth).label, "Prof. moy.:");
    EXPECT_EQ(row(rows, C::MaxDepth).value, "12.3");
    EXPECT_EQ(row(rows, C::MaxDepth).unit, "m");
    EXPECT_EQ(row(rows, C::MeanAirConsumption).unitControlId, C::MeanAirConsumptionUnit);
    EXPECT_EQ(row(rows, C::AirConsumption).unitControlId, C::AirConsumptionUnit);
    EXPECT_EQ(row(rows, C::MinWaterTemperature).unit, "°C");

    logbook.setUnitSystem(UnitSystem::Imperial);
    rows = divePage(logbook, catalogue, 1, {});
    EXPECT_EQ(row(rows, C::MaxDepth).value, "40");
    EXPECT_EQ(row(rows, C::MaxDepth).unit, "ft");
    EXPECT_EQ(row(rows, C::Visibility).unit, "ft");
    EXPECT_EQ(row(rows, C::TankPressure).unit, "psi");
    EXPECT_EQ(row(rows, C::TankVolume).unit, "cft");
    EXPECT_EQ(row(rows, C::MeanAirConsumption).unit, "cft/min");

    // An empty logbook shows the blank record rather than failing.
    Logbook empty;
    const FieldCatalogue emptyCatalogue(empty);
    rows = divePage(empty, emptyCatalogue, empty.currentDive(), {});
    EXPECT_EQ(row(rows, C::Date).value, "");
    EXPECT_EQ(row(rows, C::TotalTime).value, "0:00");
}

} // namespace
