#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/oemcharmap.h"
#include "tools/diveeditform.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace zorv::tools {
namespace {

    using logbook::DiveRecord;
    using logbook::fixedText;
    using logbook::Mode;
    using logbook::setFixedText;
    using logbook::UnitSystem;

    // A dive with a value in every field the dialog shows, several of which do
    // not survive formatting and parsing again (hundredths, OEM bytes, feet).
    DiveRecord fullDive()
    {
        DiveRecord d;
        d.date = logbook::dayNumber(5, 3, 2004);
        d.entryTime = 10 * 60 + 5;
        setFixedText(d.place, "Lac L\x82man`"); // a stored backtick reads back as 0xEF
        setFixedText(d.site, "La Belotte");
        d.altitudeClass = 1;
        d.surfaceInterval = 95;
        d.weather = 2;
        d.airTemperature = 2537;
        d.suit = 4;
        d.tankVolume = 1234;
        d.maxDepth = 1555;
        d.duration = 47;
        d.minWaterTemperature = 455;
        d.airUsed = 14050;
        d.diveType = logbook::dive_type::kNoDeco | logbook::dive_type::kFreshWater | logbook::dive_type::kNitrox;
        d.activities = 0x0011;
        setFixedText(d.otherActivities, "Biologie");
        setFixedText(d.partners, "Anne, Marc");
        setFixedText(d.comment, "Bonne visibilit\x82");
        d.diveNumber = 12;
        d.airConsumption = 17.25f; // left by an older version; not what the formula gives
        d.extra.weights = 733;
        d.extra.visibility = 850;
        d.extra.tankMaterial = 1;
        d.extra.extraFlags = logbook::extra_flags::kBoat | 0x03;
        d.extra.tankPressure = 20050;
        setFixedText(d.extra.model, "Semi 7mm", logbook::kModelLength);
        return d;
    }

    DiveRecord computerDive(std::uint8_t type)
    {
        DiveRecord d = fullDive();
        d.computerType = type;
        d.profileLength = 40;
        d.profileHeader = { 1, 2, 3, 4, 5, 6, 7, 8 };
        return d;
    }

    class FormTest : public testing::Test {
    protected:
        FormTest() { catalogue = computers::ComputerCatalogue::withBuiltInTypes(); }

        DiveEditForm &open(const DiveRecord &record, int position)
        {
            form = std::make_unique<DiveEditForm>(book, catalogue, switches);
            form->setRecord(record, position);
            return *form;
        }

        // The row of the computer list that reads `row`, or -1.
        static int rowOf(const DiveEditForm &f, const std::string &row)
        {
            const std::vector<std::string> rows = f.computerRows();
            const auto found = std::find(rows.begin(), rows.end(), row);
            return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
        }

        logbook::Logbook book;
        computers::ComputerCatalogue catalogue;
        DiveEditSwitches switches;
        std::unique_ptr<DiveEditForm> form;
    };

    struct Setup {
        UnitSystem units;
        Mode mode;
    };

    class UnchangedDive : public FormTest, public testing::WithParamInterface<Setup> { };

    TEST_P(UnchangedDive, OkWithoutTypingChangesNoByte)
    {
        book.setUnitSystem(GetParam().units);
        book.setMode(GetParam().mode);
        for (const DiveRecord &dive : { fullDive(), computerDive(68), DiveRecord {} }) {
            book.insertDive(dive);
            DiveEditForm &f = open(dive, 1);
            f.placeLeft(f.shown());
            f.airFieldsLeft(f.shown());
            f.secondSetChanged(f.shown());
            ASSERT_TRUE(f.accept(f.shown()));
            EXPECT_FALSE(f.changedRecord());
            EXPECT_TRUE(f.working() == dive);
            book.reset();
        }
    }

    INSTANTIATE_TEST_SUITE_P(Setups, UnchangedDive,
        testing::Values(Setup { UnitSystem::Metric, Mode::Advanced }, Setup { UnitSystem::Imperial, Mode::Advanced },
            Setup { UnitSystem::Metric, Mode::Standard }, Setup { UnitSystem::Imperial, Mode::Standard }));

    TEST_F(FormTest, NewDiveCountsAsChangedAndGetsItsConsumption)
    {
        DiveRecord dive;
        dive.sampleCount = 4;
        dive.samples.resize(dive.sampleCount);
        for (int i = 1; i < 4; ++i)
            dive.samples[static_cast<std::size_t>(i)].depth = -10.0f;
        dive.profileAvgDepth = 10.0f;
        DiveEditForm &f = open(dive, 0);
        DiveEditValues typed = f.shown();
        typed.tankVolume = "10";
        typed.airUsed = "100";
        ASSERT_TRUE(f.accept(typed));
        const auto out = f.changedRecord();
        ASSERT_TRUE(out);
        EXPECT_GT(out->airConsumption, 0.0f);
        EXPECT_EQ(f.shown().airConsumption, "746.3"); // 1000 l / 2 bar / 0.67 min
    }

    TEST_F(FormTest, MetricEntriesAreStoredInStoredUnits)
    {
        DiveEditForm &f = open(DiveRecord {}, 0);
        DiveEditValues typed = f.shown();
        typed.date = "5.3.04";
        typed.duration = "1:15";
        typed.maxDepth = "12.34";
        typed.tankPressure = "300";
        typed.weights = "6.5";
        typed.visibility = "";
        typed.place = "Léman";
        f.store(typed);
        const DiveRecord &r = f.working();
        EXPECT_EQ(r.date, logbook::dayNumber(5, 3, 2004));
        EXPECT_EQ(r.duration, 75);
        EXPECT_EQ(r.maxDepth, 1234);
        EXPECT_EQ(r.extra.tankPressure, 30000);
        EXPECT_EQ(r.extra.weights, 650);
        EXPECT_EQ(r.extra.visibility, logbook::kMissing);
        EXPECT_EQ(fixedText(r.place), "L\x82man");
    }

    TEST_F(FormTest, ImperialEntriesAreStoredMetric)
    {
        book.setUnitSystem(UnitSystem::Imperial);
        DiveEditForm &f = open(DiveRecord {}, 0);
        DiveEditValues typed = f.shown();
        typed.maxDepth = "40";
        typed.airTemperature = "77";
        typed.airUsed = "2900";
        typed.tankVolume = "84";
        typed.weights = "10";
        f.store(typed);
        const DiveRecord &r = f.working();
        EXPECT_EQ(r.maxDepth, 1219);
        EXPECT_EQ(r.airTemperature, 2500);
        EXPECT_EQ(r.airUsed, 20000);
        EXPECT_EQ(r.tankVolume, 1200);
        EXPECT_EQ(r.extra.weights, 373);
        EXPECT_EQ(f.shown().maxDepth, "40");
        EXPECT_EQ(f.shown().airUsed, "2900");
    }

    TEST_F(FormTest, ListsRadioGroupsAndBoxesSetTheirBits)
    {
        DiveEditForm &f = open(fullDive(), 0);
        DiveEditValues typed = f.shown();
        typed.decompression = Choice::Second;
        typed.ascent = Choice::First;
        typed.water = Choice::Neither;
        typed.nitrox = false;
        typed.scr = true;
        typed.activities[0] = false;
        typed.activities[11] = true;
        typed.boatShore = Choice::Second;
        typed.leader = Choice::First;
        typed.suit = 0;
        typed.weather = 6;
        f.store(typed);
        const DiveRecord &r = f.working();
        using namespace logbook::dive_type;
        EXPECT_EQ(r.diveType, kDeco | kSingleAscent | kScr);
        EXPECT_EQ(r.activities, 0x0810);
        EXPECT_EQ(r.extra.extraFlags, logbook::extra_flags::kShore | logbook::extra_flags::kDiveLeader | 0x03);
        EXPECT_EQ(r.suit, 0);
        EXPECT_EQ(r.weather, 6);
    }

    TEST_F(FormTest, StandardModeLeavesTheAdvancedFieldsAlone)
    {
        book.setMode(Mode::Standard);
        DiveEditForm &f = open(fullDive(), 0);
        EXPECT_FALSE(f.states().advancedShown);
        EXPECT_TRUE(f.states().shortNameSwitchShown);
        DiveEditValues typed = f.shown();
        typed.weights = "";
        typed.boatShore = Choice::Neither;
        f.store(typed);
        EXPECT_EQ(f.working().extra.weights, 733);
        EXPECT_EQ(f.working().extra.extraFlags, fullDive().extra.extraFlags);
    }

    TEST_F(FormTest, LongCommentRunsOnIntoTheSecondField)
    {
        DiveEditForm &f = open(DiveRecord {}, 0);
        DiveEditValues typed = f.shown();
        typed.comment = std::string(300, 'x');
        f.store(typed);
        EXPECT_EQ(fixedText(f.working().comment).size(), 255u);
        EXPECT_EQ(fixedText(f.working().extra.commentMore).size(), 45u);
    }

    TEST_F(FormTest, OnlyComputerDivesLockTheirMeasuredValuesUntilFreeData)
    {
        const DiveRecord dive = computerDive(68);
        DiveEditForm &f = open(dive, 1);
        EXPECT_FALSE(f.states().measuredEnabled);
        EXPECT_FALSE(f.states().computerEnabled);
        EXPECT_TRUE(f.states().airTemperatureEnabled);

        DiveEditValues typed = f.shown();
        typed.maxDepth = "30";
        typed.number = "99";
        typed.date = "1.1.2001";
        typed.airUsed = "10";
        f.store(typed);
        EXPECT_EQ(f.working().maxDepth, dive.maxDepth);
        EXPECT_EQ(f.working().diveNumber, dive.diveNumber);
        EXPECT_EQ(f.working().date, dive.date);
        EXPECT_EQ(f.working().airUsed, dive.airUsed);

        f.setFreeData(f.shown(), true);
        EXPECT_TRUE(f.states().measuredEnabled);
        typed = f.shown();
        typed.maxDepth = "30";
        f.store(typed);
        EXPECT_EQ(f.working().maxDepth, 3000);
        EXPECT_TRUE(switches.freeData); // kept for the next dive

        // Hand-entered and hand-drawn dives are not locked; a computer type alone is enough to lock.
        switches.freeData = false;
        EXPECT_TRUE(open(fullDive(), 1).states().measuredEnabled);
        DiveRecord drawn = fullDive();
        drawn.profileLength = 30;
        for (std::size_t i = 0; i < drawn.profileHeader.size(); ++i)
            drawn.profileHeader[i] = static_cast<std::uint16_t>(logbook::kHandProfileHeaderBase + i);
        EXPECT_TRUE(open(drawn, 1).states().measuredEnabled);
        DiveRecord typeOnly = fullDive();
        typeOnly.computerType = 68;
        EXPECT_FALSE(open(typeOnly, 1).states().measuredEnabled);
    }

    TEST_F(FormTest, ComputerListFollowsTheTypeAndAnUnlistedTypeIsKept)
    {
        DiveEditForm &f = open(fullDive(), 0);
        EXPECT_EQ(f.states().computerList, ComputerList::All);
        const int aladin = rowOf(f, "Aladin Air X/Z [68]");
        ASSERT_GE(aladin, 0);
        DiveEditValues typed = f.shown();
        typed.computer = aladin;
        f.store(typed);
        EXPECT_EQ(f.working().computerType, 68);

        // A type missing from the list shows no row, and storing keeps it.
        DiveRecord unlisted = fullDive();
        unlisted.computerType = 250;
        switches.freeData = true;
        DiveEditForm &g = open(unlisted, 1);
        EXPECT_EQ(g.shown().computer, -1);
        g.store(g.shown());
        EXPECT_EQ(g.working().computerType, 250);

        // An imported dive shows the import list and locks the air temperature.
        DiveRecord imported = fullDive();
        imported.computerType = 179;
        switches.freeData = false;
        DiveEditForm &h = open(imported, 1);
        EXPECT_EQ(h.states().computerList, ComputerList::Import);
        EXPECT_FALSE(h.states().airTemperatureEnabled);
        ASSERT_GE(h.shown().computer, 0);
        EXPECT_EQ(h.shown().computer, rowOf(h, "Mares Guardian [179]"));
    }

    TEST_F(FormTest, NitroxAndOxygenComputersAreShownAndChosen)
    {
        catalogue.add({ .typeId = 201, .name = "Mon nitrox", .gas = computers::Gas::Nitrox }, computers::SortNow::Yes);
        DiveEditForm &f = open(computerDive(244), 1);
        ASSERT_GE(f.shown().computer, 0);
        EXPECT_EQ(f.shown().computer, rowOf(f, "Aladin Air X Nitrox [244]"));
        for (const char *row : { "Aladin Air X O2 [164]", "Aladin Pro Nitrox [255]", "Mon nitrox [201]",
                 "Aladin Air X/Z [68]", "Mares Guardian [179]" })
            EXPECT_GE(rowOf(f, row), 0) << row;

        f.setFreeData(f.shown(), true);
        DiveEditValues typed = f.shown();
        typed.computer = rowOf(f, "Aladin Air X O2 [164]");
        ASSERT_TRUE(f.accept(typed));
        EXPECT_EQ(f.working().computerType, 164);
        typed = f.shown();
        typed.computer = rowOf(f, "Mon nitrox [201]");
        ASSERT_TRUE(f.accept(typed));
        EXPECT_EQ(f.working().computerType, 201);
    }

    struct Impossible {
        const char *typed;
        std::string DiveEditValues::*control;
        const char *label;
    };

    class ImpossibleValue : public FormTest, public testing::WithParamInterface<Impossible> { };

    TEST_P(ImpossibleValue, IsRefusedWithTheFieldsNameAndNothingIsStored)
    {
        const Impossible &c = GetParam();
        DiveEditForm &f = open(fullDive(), 1);
        DiveEditValues typed = f.shown();
        typed.place = "Ailleurs";
        typed.*c.control = c.typed;
        const common::Result result = f.accept(typed);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.status(), common::Status::Refused);
        EXPECT_NE(result.message().find(std::string("« ") + c.label + " »"), std::string::npos) << result.message();
        EXPECT_NE(result.message().find(c.typed), std::string::npos);
        EXPECT_FALSE(f.changedRecord());

        // A handler storing in passing keeps the typed text in its control and the value unchanged.
        f.store(typed);
        EXPECT_EQ(f.shown().*c.control, c.typed);
        EXPECT_FALSE(f.accept(f.shown()));
        EXPECT_EQ(fixedText(f.working().place), "Ailleurs");
        EXPECT_EQ(f.working().entryTime, fullDive().entryTime);
        EXPECT_EQ(f.working().date, fullDive().date);
        EXPECT_EQ(f.working().maxDepth, fullDive().maxDepth);
    }

    INSTANTIATE_TEST_SUITE_P(Fields, ImpossibleValue,
        testing::Values(Impossible { "25:99", &DiveEditValues::time, "Heure" },
            Impossible { "24:00", &DiveEditValues::time, "Heure" },
            Impossible { "1500", &DiveEditValues::time, "Heure" },
            Impossible { "31.02.2004", &DiveEditValues::date, "Date" },
            Impossible { "29.02.2003", &DiveEditValues::date, "Date" },
            Impossible { "5.13.2004", &DiveEditValues::date, "Date" },
            Impossible { "0.3.2004", &DiveEditValues::date, "Date" },
            Impossible { "hier", &DiveEditValues::date, "Date" },
            Impossible { "1:75", &DiveEditValues::duration, "Durée" },
            Impossible { "0:60", &DiveEditValues::interval, "Intervalle" },
            Impossible { "99999", &DiveEditValues::maxDepth, "Prof. max." },
            Impossible { "-400", &DiveEditValues::minWaterTemperature, "Temp. eau min." },
            Impossible { "400", &DiveEditValues::tankPressure, "Pression bouteille" },
            Impossible { "40000", &DiveEditValues::number, "Numéro" },
            Impossible { "abc", &DiveEditValues::airTemperature, "Temp. air" },
            Impossible { "18,5 m", &DiveEditValues::maxDepth, "Prof. max." },
            Impossible { "1e309", &DiveEditValues::minWaterTemperature, "Temp. eau min." },
            Impossible { "-3", &DiveEditValues::tankVolume, "Cont. bouteille" },
            Impossible { "12,5", &DiveEditValues::number, "Numéro" }));

    TEST_F(FormTest, DecimalCommaIsReadAsThePoint)
    {
        for (const UnitSystem units : { UnitSystem::Metric, UnitSystem::Imperial }) {
            book.setUnitSystem(units);
            DiveEditForm &f = open(DiveRecord {}, 0);
            DiveEditValues typed = f.shown();
            typed.airTemperature = "18,5";
            typed.maxDepth = "18,5";
            typed.tankVolume = " 11,1 ";
            // Leaving a field stores the controls and shows them again: the fraction stays.
            f.placeLeft(typed);
            EXPECT_EQ(f.shown().maxDepth, units == UnitSystem::Metric ? "18.5" : "18");
            ASSERT_TRUE(f.accept(f.shown()));
            if (units == UnitSystem::Metric) {
                EXPECT_EQ(f.working().airTemperature, 1850);
                EXPECT_EQ(f.working().maxDepth, 1850);
                EXPECT_EQ(f.working().tankVolume, 1110);
            } else {
                EXPECT_EQ(f.working().maxDepth, 563); // 18.5 ft cut to whole centimetres
            }
        }
    }

    TEST_F(FormTest, PossibleValuesAtTheEdgesAreTaken)
    {
        DiveEditForm &f = open(fullDive(), 1);
        DiveEditValues typed = f.shown();
        typed.date = "29.02.2004";
        typed.time = "23:59";
        typed.interval = "30:00";
        typed.maxDepth = "327.6";
        typed.tankPressure = "";
        ASSERT_TRUE(f.accept(typed));
        EXPECT_EQ(f.working().date, logbook::dayNumber(29, 2, 2004));
        EXPECT_EQ(f.working().entryTime, 23 * 60 + 59);
        EXPECT_EQ(f.working().surfaceInterval, 1800);
        EXPECT_EQ(f.working().maxDepth, 32760);
        EXPECT_EQ(f.working().extra.tankPressure, logbook::kMissing);

        // Locked values are not read, so they cannot be refused either.
        DiveEditForm &g = open(computerDive(68), 1);
        typed = g.shown();
        typed.time = "25:99";
        EXPECT_TRUE(g.accept(typed));
    }

    TEST_F(FormTest, NewDiveShowsTheNumberItWillGet)
    {
        EXPECT_EQ(open(DiveRecord {}, 0).shown().number, "1");
        for (int day = 1; day <= 3; ++day) {
            DiveRecord d;
            d.date = logbook::dayNumber(day, 6, 2004);
            d.entryTime = 600;
            ASSERT_TRUE(book.insertDive(d));
        }
        DiveRecord last;
        last.date = logbook::dayNumber(9, 6, 2004);
        EXPECT_EQ(open(last, 0).shown().number, "4");
        DiveRecord between;
        between.date = logbook::dayNumber(2, 6, 2004);
        between.entryTime = 900;
        DiveEditForm &f = open(between, 0);
        EXPECT_EQ(f.shown().number, "3");
        ASSERT_TRUE(f.accept(f.shown()));
        const auto out = f.changedRecord();
        ASSERT_TRUE(out);
        EXPECT_EQ(book.comingNumber(*out), 3);
    }

    TEST(AppendPartner, SeparatorsFollowTheRoomLeft)
    {
        EXPECT_EQ(appendPartner("", "Anne"), "Anne");
        EXPECT_EQ(appendPartner("Anne", "Marc"), "Anne, Marc");
        EXPECT_EQ(appendPartner("Anne, Marc", "Marc"), "Anne, Marc");
        EXPECT_EQ(appendPartner("Anne", ""), "Anne");
        const std::string text78(78, 'a');
        EXPECT_EQ(appendPartner(text78, "B"), text78 + ",B");
        EXPECT_EQ(appendPartner(text78, "Bo"), text78);
        const std::string text77(77, 'a');
        EXPECT_EQ(appendPartner(text77, "B"), text77 + ", B");
        EXPECT_EQ(appendPartner("", std::string(81, 'x')), "");
    }

    TEST_F(FormTest, AddPartnerTakesTheChoiceInStoredForm)
    {
        DiveEditForm &f = open(fullDive(), 0);
        EXPECT_FALSE(f.states().addPartnerEnabled);
        DiveEditValues typed = f.shown();
        typed.partnerChoice = "Hélène";
        f.choosePartner(typed.partnerChoice);
        EXPECT_TRUE(f.states().addPartnerEnabled);
        f.addPartner(typed);
        EXPECT_EQ(fixedText(f.working().partners), "Anne, Marc, H\x82l\x8Ane");
        EXPECT_EQ(f.shown().partners, "Anne, Marc, Hélène");
        f.addPartner(f.shown());
        EXPECT_EQ(f.shown().partners, "Anne, Marc, Hélène");

        ASSERT_TRUE(f.accept(f.shown()));
        const auto out = f.changedRecord();
        ASSERT_TRUE(out) << "a changed dive is reported";
        EXPECT_EQ(fixedText(out->partners), "Anne, Marc, H\x82l\x8Ane");
    }

    TEST_F(FormTest, PreviousDiveGivesItsConditionsButNotItsMeasurements)
    {
        DiveRecord first = fullDive();
        first.date = logbook::dayNumber(1, 3, 2004);
        DiveRecord second;
        second.date = logbook::dayNumber(2, 3, 2004);
        second.maxDepth = 2000;
        setFixedText(second.comment, "mine");
        book.insertDive(first);
        book.insertDive(second);

        EXPECT_FALSE(open(second, 1).states().previousDiveEnabled);
        EXPECT_FALSE(open(second, 0).states().previousDiveEnabled);
        EXPECT_FALSE(form->usePreviousDive(form->shown()));

        DiveEditForm &f = open(*book.dive(2), 2);
        EXPECT_TRUE(f.states().previousDiveEnabled);
        ASSERT_TRUE(f.usePreviousDive(f.shown()));
        const DiveRecord &r = f.working();
        EXPECT_EQ(fixedText(r.place), fixedText(first.place));
        EXPECT_EQ(r.tankVolume, first.tankVolume);
        EXPECT_EQ(r.diveType, first.diveType);
        EXPECT_EQ(r.extra.extraFlags, first.extra.extraFlags);
        EXPECT_EQ(fixedText(r.extra.model), "Semi 7mm");
        EXPECT_EQ(r.maxDepth, 2000);
        EXPECT_EQ(r.date, second.date);
        EXPECT_EQ(fixedText(r.comment), "mine");
        EXPECT_EQ(f.shown().place, "Lac Léman`");
    }

    TEST_F(FormTest, StandardModeWritesTheSecondSetAsNamesAfterTheWords)
    {
        book.setMode(Mode::Standard);
        DiveRecord dive;
        setFixedText(dive.otherActivities, "Biologie");
        DiveEditForm &f = open(dive, 0);
        DiveEditValues typed = f.shown();
        typed.secondSet[1] = true;
        f.secondSetChanged(typed);
        EXPECT_EQ(fixedText(f.working().otherActivities), "Biologie, Pl. solo");
        EXPECT_EQ(f.shown().otherActivities, "Biologie");
        EXPECT_EQ(f.shown().result, "Biologie, Pl. solo");
        EXPECT_TRUE(f.shown().secondSet[1]);

        f.setShortNames(f.shown(), true);
        EXPECT_EQ(f.secondSetLabels()[0], "Travail");
        EXPECT_EQ(fixedText(f.working().otherActivities), "Biologie, Solo");

        typed = f.shown();
        typed.secondSet[1] = false;
        typed.otherActivities = "Photo";
        f.secondSetChanged(typed);
        EXPECT_EQ(fixedText(f.working().otherActivities), "Photo");
    }

    TEST_F(FormTest, AdvancedModeKeepsTheSecondSetInBits)
    {
        DiveEditForm &f = open(fullDive(), 0);
        EXPECT_TRUE(f.shown().secondSet[0] && f.shown().secondSet[1]);
        DiveEditValues typed = f.shown();
        typed.secondSet[0] = false;
        typed.secondSet[7] = true;
        f.secondSetChanged(typed);
        EXPECT_EQ(f.working().extra.extraFlags, logbook::extra_flags::kBoat | 0x82);
        EXPECT_EQ(fixedText(f.working().otherActivities), "Biologie");
    }

    TEST(WarningBoxes, OnlyTheFourBoxedBitsChange)
    {
        EXPECT_EQ(applyWarningBoxes(0x00C6, { true, false, true, false }), 0x00D7);
        EXPECT_EQ(applyWarningBoxes(0x00FF, { false, false, false, false }), 0x00C6);
    }

} // namespace
} // namespace zorv::tools
