#include "canvas/recordingcanvas.h"
#include "filebuilder.h"
#include "logbook/daynumber.h"
#include "registers/forecast.h"
#include "registers/registerfile.h"
#include "registers/registerprintouts.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace zorv::registers {
namespace {

    EquipmentItem gear(std::uint8_t category, const std::string &user, float price, float service)
    {
        EquipmentItem item;
        item.category = category;
        item.user = user;
        item.price = price;
        item.serviceCost = service;
        return item;
    }

    TEST(WholeNumbers, CommaAndPointAlikeAndFractionsRefusedNamingTheField)
    {
        const struct {
            const char *typed;
            std::optional<long long> read;
            const char *refusal;
        } cases[] = {
            { "2", 2, "" },
            { " 12 ", 12, "" },
            { "3,0", 3, "" },
            { "3.", 3, "" },
            { "", 0, "" },
            { "2,5", std::nullopt, "« Heures » ne prend que des nombres entiers : « 2,5 »." },
            { "0.5", std::nullopt, "entiers" },
            { "deux", std::nullopt, "Nombre illisible dans « Heures » : « deux »." },
            { "2h", std::nullopt, "illisible" },
            { "-1", std::nullopt, "Valeur impossible dans « Heures »" },
            { "100000", std::nullopt, "impossible" },
        };
        for (const auto &c : cases) {
            const common::ResultOr<long long> read = readWhole(c.typed, "Heures", 0, 99999);
            EXPECT_EQ(read ? std::optional<long long>(*read) : std::nullopt, c.read) << c.typed;
            if (!read) {
                EXPECT_NE(read.message().find(c.refusal), std::string::npos) << read.message();
            }
        }
    }

    TEST(Equipment, ServiceFallsDueFromItsMonthOn)
    {
        EquipmentItem item;
        item.remind = true;
        item.nextServiceMonth = 3;
        item.nextServiceYear = 2005;
        struct Case {
            int month, year;
            bool due;
        };
        const Case cases[]
            = { { 2, 2005, false }, { 3, 2005, true }, { 12, 2005, true }, { 1, 2006, true }, { 12, 2004, false } };
        for (const Case &c : cases)
            EXPECT_EQ(isServiceDue(item, c.month, c.year), c.due) << c.month << "." << c.year;
        EXPECT_EQ(nextServiceText(item, 3, 2005), "03.2005*");
        item.remind = false;
        EXPECT_FALSE(isServiceDue(item, 1, 2010));
        EXPECT_EQ(nextServiceText(item, 3, 2005), "03.2005");
        item.remind = true;
        item.nextServiceYear = 0;
        EXPECT_FALSE(isServiceDue(item, 1, 2010));
        EXPECT_EQ(nextServiceText(item, 1, 2010), "");
        item.nextServiceYear = 2005;
        item.nextServiceMonth = 0;
        EXPECT_FALSE(isServiceDue(item, 1, 2010));
    }

    TEST(Equipment, StartUpCheckFindsAnItemDue)
    {
        zorv::test::TempDir dir;
        std::vector<EquipmentItem> items(2);
        items[1].remind = true;
        items[1].nextServiceMonth = 6;
        items[1].nextServiceYear = 2026;
        ASSERT_TRUE(saveEquipment(dir / "gear.dat", items));
        EXPECT_FALSE(equipmentFileHasDueItem(dir / "gear.dat", 5, 2026));
        EXPECT_TRUE(equipmentFileHasDueItem(dir / "gear.dat", 6, 2026));
        EXPECT_FALSE(equipmentFileHasDueItem(dir / "none.dat", 6, 2030));
        EXPECT_FALSE(equipmentFileHasDueItem("", 6, 2030));
        zorv::test::writeFile(dir / "bad.dat", "\x64");
        EXPECT_FALSE(equipmentFileHasDueItem(dir / "bad.dat", 6, 2030));
    }

    TEST(Equipment, CostSummaryByCategoryAndUser)
    {
        const std::vector<EquipmentItem> items = { gear(0, "Anna", 400.0f, 50.5f), gear(99, "Anna", 10.0f, 0.0f),
            gear(0, "Bert", 300.0f, 20.0f), gear(1, "", 200.0f, 0.0f) };
        const CostSummary all = costSummary(items, std::nullopt);
        EXPECT_EQ(all.total.count, 4);
        EXPECT_FLOAT_EQ(all.total.total, 980.5f);
        EXPECT_EQ(all.categories[0].count, 2);
        EXPECT_FLOAT_EQ(all.categories[0].services, 70.5f);
        EXPECT_EQ(all.categories[kOtherCategory].count, 1); // 99 counts as "Autres"

        const CostSummary anna = costSummary(items, "Anna");
        EXPECT_EQ(anna.total.count, 2);
        EXPECT_FLOAT_EQ(anna.total.prices, 410.0f);
        EXPECT_EQ(anna.categories[1].count, 0); // the item without a user is not Anna's
        EXPECT_EQ(costSummary(items, "").total.count, 1);
        EXPECT_EQ(equipmentUsers(items), (std::vector<std::string> { "Anna", "Bert", "" }));
    }

    TEST(Equipment, SortByCategoryThenArticle)
    {
        std::vector<EquipmentItem> items = { gear(2, "", 0, 0), gear(0, "", 0, 0), gear(0, "", 0, 0) };
        items[0].article = "Jacket";
        items[1].article = "Zeta";
        items[2].article = "Alpha";
        sortEquipment(items);
        EXPECT_EQ(items[0].article, "Alpha");
        EXPECT_EQ(items[1].article, "Zeta");
        EXPECT_EQ(items[2].article, "Jacket");
        EXPECT_EQ(equipmentCell(items[2], 0, 1, 2000), "Stab");
    }

    TEST(Addresses, RowTextsAndSortByLastName)
    {
        std::vector<Address> list(2);
        list[0].lastName = "Weber";
        list[0].firstName = "Anna";
        list[0].postalCode = "8000";
        list[0].town = "Z\x81rich"; // ü in the DOS set
        list[0].street = "Seestr. 4";
        list[1].lastName = "Meier";
        list[1].firstName = "Zoe";
        EXPECT_EQ(addressCell(list[0], 0), "Weber, Anna");
        EXPECT_EQ(addressCell(list[0], 1), "8000 Zürich, Seestr. 4");
        EXPECT_EQ(addressCell(list[0], 1, AddressOrder::StreetFirst), "Seestr. 4, Zürich, 8000");
        sortAddresses(list);
        EXPECT_EQ(list[0].lastName, "Meier");
        // Unsigned bytes: a DOS umlaut sorts after every ASCII letter.
        list[0].lastName = "\x9a"
                           "ber";
        list[1].lastName = "Zander";
        sortAddresses(list);
        EXPECT_EQ(list[0].lastName, "Zander");
    }

    TEST(Trips, RowsSortAndGoTo)
    {
        std::vector<Trip> trips(3);
        trips[0].firstDay = logbook::dayNumber(1, 6, 2004);
        trips[0].destination = "Sinai";
        trips[0].firstDive = 12;
        trips[0].lastDive = 20;
        trips[1].destination = "Undated";
        trips[2].firstDay = logbook::dayNumber(1, 6, 2003);
        EXPECT_EQ(tripCell(trips[0], 0), "01.06.2004");
        EXPECT_EQ(tripCell(trips[0], 2), "00012-00020");
        EXPECT_EQ(tripCell(trips[1], 0), "");
        EXPECT_EQ(tripGoToPosition(trips[0], 12), 12);
        EXPECT_EQ(tripGoToPosition(trips[0], 11), std::nullopt);
        EXPECT_EQ(tripGoToPosition(trips[1], 11), std::nullopt);
        sortTrips(trips);
        EXPECT_EQ(trips[0].firstDay, logbook::dayNumber(1, 6, 2003));
        EXPECT_EQ(trips[2].destination, "Undated");
    }

    TEST(Teaching, TotalsOfTheHours)
    {
        std::vector<TeachingActivity> records(3);
        const int theory[] = { 4, 6, 0 };
        const int practice[] = { 2, 0, 8 };
        for (int i = 0; i < 3; ++i) {
            records[static_cast<std::size_t>(i)].theoryHours = theory[i];
            records[static_cast<std::size_t>(i)].practiceHours = practice[i];
        }
        const TeachingTotals totals = teachingTotals(records);
        EXPECT_EQ(totals.theory, 10);
        EXPECT_EQ(totals.practice, 10);
        EXPECT_EQ(totals.total(), 20);
        EXPECT_EQ(teachingTotals({}).total(), 0);
        // Large hours add up without overflow.
        records[0].theoryHours = INT32_MAX;
        records[1].theoryHours = INT32_MAX;
        EXPECT_EQ(teachingTotals(records).theory, 2 * std::int64_t { INT32_MAX });
    }

    TEST(Certificates, CostTotalWithCurrency)
    {
        std::vector<Certificate> list(3);
        list[0].cost = 120.5f;
        list[2].cost = 80.0f;
        EXPECT_EQ(certificateCostText(list, "DM"), "200.50 DM");
        list[0].date = logbook::dayNumber(5, 3, 2004);
        list[1].date = logbook::dayNumber(5, 3, 1999);
        sortCertificates(list);
        EXPECT_EQ(list[0].date, logbook::dayNumber(5, 3, 1999));
        EXPECT_EQ(list[2].date, 0u);
        EXPECT_EQ(certificateCell(list[0], 1), "05.03.1999");
    }

    // Forecast: month arithmetic and the rates.
    TEST(Forecast, DefaultsAndCalendar)
    {
        EXPECT_EQ(defaultForecastTarget(57), 100);
        EXPECT_EQ(defaultForecastTarget(100), 200);
        EXPECT_EQ(defaultForecastTarget(0), 100);
        EXPECT_EQ(defaultForecastStart("05.03.2004"), (MonthYear { 3, 2004 }));
        EXPECT_EQ(defaultForecastStart(""), (MonthYear { 1, 1990 }));
        EXPECT_EQ(daysInMonth(2, 2000), 29);
        EXPECT_EQ(daysInMonth(2, 1900), 28);
        EXPECT_EQ(daysInMonth(2, 2004), 29);
        EXPECT_EQ(daysInMonth(11, 2004), 30);
        EXPECT_EQ(nextDay({ 31, 12, 2004 }), (CalendarDate { 1, 1, 2005 }));
        EXPECT_EQ(nextDay({ 28, 2, 2003 }), (CalendarDate { 1, 3, 2003 }));
        EXPECT_EQ(nextDay({ 31, 12, 99 }), (CalendarDate { 1, 1, 0 }));
    }

    TEST(Forecast, CurrentMonthDividesByTheDaysLived)
    {
        const std::vector<CalendarDate> dives(4, CalendarDate { 2, 3, 2004 });
        struct Case {
            int today;
            double denominator;
        };
        for (const Case c : { Case { 5, 8 }, Case { 12, 15 }, Case { 20, 20 }, Case { 30, 31 } }) {
            std::size_t index = 0;
            EXPECT_DOUBLE_EQ(monthRate(dives, index, 3, 2004, { c.today, 3, 2004 }), 4 / c.denominator) << c.today;
            EXPECT_EQ(index, dives.size());
        }
        std::size_t index = 0;
        EXPECT_DOUBLE_EQ(monthRate(dives, index, 3, 2004, { 5, 4, 2004 }), 4 / 31.0);
    }

    TEST(Forecast, WeightsLaterYearsMore)
    {
        ForecastInput in;
        in.dives.assign(4, CalendarDate { 10, 6, 2003 });
        in.dives.insert(in.dives.end(), 10, CalendarDate { 10, 6, 2004 });
        in.start = { 1, 2003 };
        in.today = { 1, 1, 2005 };
        in.target = 15;
        const auto forecast = computeForecast(in);
        ASSERT_TRUE(forecast);
        EXPECT_DOUBLE_EQ(forecast->months[5].average, (1 * 4 / 30.0 + 2 * 10 / 30.0) / 3);
        EXPECT_EQ(forecast->months[5].weight, 3u);
        EXPECT_EQ(forecast->months[0].weight, 1u + 2); // January 2005 is the current month, left out
        // Only June has dives: the 15th dive falls in June 2005.
        EXPECT_EQ(forecast->reached.month, 6);
        EXPECT_EQ(forecast->reached.year, 2005);
    }

    TEST(Forecast, UnfilledMonthsUseTheOverallRate)
    {
        ForecastInput in;
        in.dives = { { 3, 7, 2004 }, { 4, 7, 2004 }, { 10, 8, 2004 } };
        in.start = { 7, 2004 };
        in.today = { 20, 8, 2004 };
        in.includeCurrentMonth = true;
        in.target = 100;
        const auto forecast = computeForecast(in);
        ASSERT_TRUE(forecast);
        int filled = 0;
        for (const MonthSlot &slot : forecast->months)
            filled += slot.weight != 0 ? 1 : 0;
        EXPECT_EQ(filled, 2);
        EXPECT_DOUBLE_EQ(forecast->overallRate, (2 / 31.0 + 1 / 20.0) / 2);
        EXPECT_EQ(forecastDateText(forecast->reached).size(), 10u);
    }

    TEST(Forecast, NoResult)
    {
        ForecastInput in;
        in.dives = { { 3, 7, 2004 } };
        in.today = { 20, 8, 2004 };
        in.target = 100;
        in.start = { 9, 2004 }; // after today
        EXPECT_FALSE(computeForecast(in));
        in.start = { 7, 2004 };
        in.target = 1; // already reached
        EXPECT_FALSE(computeForecast(in));
        in.target = 100;
        in.dives = { { 0, 0, 0 } }; // no month with a dive
        EXPECT_FALSE(computeForecast(in));
        // A target the diver's pace never reaches before the year 9999 gives up instead of walking forever.
        in.dives = { { 3, 7, 2004 } };
        in.target = 2000000000;
        EXPECT_FALSE(computeForecast(in));
    }

    TEST(ForecastJournal, RingWrapsAndListsOldestFirst)
    {
        ForecastJournal journal;
        for (int i = 0; i < 105; ++i)
            journal.append({ static_cast<std::uint32_t>(i + 1), "e" + std::to_string(i) });
        EXPECT_TRUE(journal.wrapped);
        EXPECT_EQ(journal.nextIndex, 5);
        ASSERT_EQ(journal.entries.size(), 100u);
        const auto ordered = journal.ordered();
        EXPECT_EQ(ordered.front().text, "e5");
        EXPECT_EQ(ordered.back().text, "e104");
        const auto back = parseJournal(journalBytes(journal), "f");
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, journal);
        journal.append({ 0, std::string(80, 'x') });
        EXPECT_EQ(journal.entries[5].text.size(), 49u);
    }

    TEST(ForecastJournal, StoringAndDeletingAForecast)
    {
        ForecastInput in;
        in.start = { 7, 2004 };
        in.target = 100;
        Forecast forecast;
        forecast.reached = { 3, 2, 2006 };
        ForecastJournal journal;
        for (const bool with : { false, true }) {
            in.includeCurrentMonth = with;
            for (const JournalEntry &e : forecastEntries(in, forecast, logbook::dayNumber(20, 8, 2004)))
                journal.append(e);
        }
        const auto lines = journalLines(journal);
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0], "20.08.2004\tCalcul : à partir de  7.2004 (sans mois en cours)");
        EXPECT_EQ(lines[1], "\t     100 plongées atteintes le  3.02.2006");
        EXPECT_EQ(lines[2], "20.08.2004\tCalcul : à partir de  7.2004 (avec mois en cours)");

        // Either line of a forecast removes both.
        for (const int line : { 0, 1 }) {
            const ForecastJournal rest = withoutForecast(journal, line);
            ASSERT_EQ(rest.entries.size(), 2u);
            EXPECT_EQ(journalLines(rest)[0], lines[2]);
            EXPECT_EQ(rest.nextIndex, 2);
        }
        EXPECT_EQ(withoutForecast(journal, 9), journal);
    }

    TEST(Printouts, RowsFlowOverPagesInsideTheSheet)
    {
        std::vector<Address> addresses(120);
        for (std::size_t i = 0; i < addresses.size(); ++i)
            addresses[i].lastName = "Name" + std::to_string(i);
        const ListPrintout list = addressPrintout(addresses);
        const int pages = listPageCount(list);
        EXPECT_GT(pages, 1);
        int rowsDrawn = 0;
        for (int page = 1; page <= pages; ++page) {
            canvas::RecordingCanvas c;
            drawListPage(c, list, page);
            for (const canvas::CanvasOp &op : c.ofKind(canvas::OpKind::Text)) {
                EXPECT_GE(op.rect.left, 150);
                EXPECT_LE(op.rect.right, 1950);
                EXPECT_GE(op.rect.top, 150);
                EXPECT_LE(op.rect.bottom, 2820);
                if (op.text.rfind("Name", 0) == 0)
                    ++rowsDrawn;
            }
            EXPECT_TRUE(c.findText("Page " + std::to_string(page) + " / " + std::to_string(pages)));
        }
        EXPECT_EQ(rowsDrawn, 120);
        canvas::RecordingCanvas outside;
        drawListPage(outside, list, pages + 1);
        EXPECT_TRUE(outside.ops().empty());
    }

    TEST(Printouts, TotalsFollowTheRows)
    {
        std::vector<TeachingActivity> records(2);
        records[0].theoryHours = 4;
        records[1].practiceHours = 8;
        records[1].persons = 5;
        canvas::RecordingCanvas c;
        drawListPage(c, teachingPrintout(records), 1);
        const auto totals = c.findText("Heures de cours théoriques : 4, pratiques : 8, personnes : 5");
        ASSERT_TRUE(totals);
        const auto head = c.findText("Activité");
        ASSERT_TRUE(head);
        EXPECT_GT(totals->rect.top, head->rect.top);

        CertificateRegister reg;
        reg.certificates.resize(1);
        reg.certificates[0].cost = 12.5f;
        canvas::RecordingCanvas d;
        drawListPage(d, certificatePrintout(reg, "EUR"), 1);
        EXPECT_TRUE(d.findText("Coût/Instruction: 12.50 EUR"));
        canvas::RecordingCanvas e;
        drawListPage(e, equipmentPrintout({ gear(1, "Anna", 100.0f, 5.0f) }, 1, 2004, "EUR"), 1);
        EXPECT_TRUE(e.findText("Bouteille"));
        EXPECT_TRUE(e.findText("100.00"));
    }

    TEST(Printouts, ALongCellStopsAtItsColumn)
    {
        EquipmentItem item = gear(1, "Anna", 100.0f, 5.0f);
        item.article = "Article avec un nom assez long pour etre coupe au bord";
        canvas::RecordingCanvas c;
        drawListPage(c, equipmentPrintout({ item }, 1, 2004, "EUR"), 1);
        const auto article = c.findText(item.article);
        const auto nextHead = c.findText("Utilisateur");
        ASSERT_TRUE(article && nextHead);
        ASSERT_TRUE(article->state.clip);
        EXPECT_LT(article->state.clip->right, nextHead->rect.left);
        EXPECT_GT(article->state.clip->left, c.findText("Catégorie")->rect.left);
        // The clip ends with the cell: the user's name beside it is drawn unclipped by it.
        const auto user = c.findText("Anna");
        ASSERT_TRUE(user && user->state.clip);
        EXPECT_GE(user->state.clip->left, article->state.clip->right);
    }

} // namespace
} // namespace zorv::registers
