#include "app/commandstate.h"
#include "computers/computercatalogue.h"
#include "logbook/logbook.h"

#include <gtest/gtest.h>
#include <vector>

namespace zorv::app {
namespace {

    using computers::ComputerCatalogue;
    using computers::ComputerType;
    using computers::Gas;
    using logbook::DiveRecord;
    using logbook::kMissing;

    constexpr std::uint8_t kOxygenComputer = 200;
    constexpr std::uint8_t kOxygenImport = 201;
    constexpr std::uint8_t kAirComputer = 202;

    computers::ComputerCatalogue catalogue()
    {
        computers::ComputerCatalogue c;
        c.add({ kOxygenComputer, "O2", computers::Gas::Oxygen, false, false, -1, -1, false }, computers::SortNow::No);
        c.add(
            { kOxygenImport, "O2 import", computers::Gas::Oxygen, false, true, -1, -1, false }, computers::SortNow::No);
        c.add({ kAirComputer, "Air", computers::Gas::Air, true, false, -1, -1, false }, computers::SortNow::Yes);
        return c;
    }

    DiveRecord dive(
        int number, std::uint16_t samples = 0, std::int16_t interval = kMissing, std::uint8_t computer = kAirComputer)
    {
        DiveRecord d;
        d.date = 150000u + static_cast<std::uint32_t>(number);
        d.diveNumber = static_cast<std::int16_t>(number);
        d.sampleCount = samples;
        d.surfaceInterval = interval;
        d.computerType = computer;
        if (samples > 0)
            d.profileLength = 20;
        return d;
    }

    class CommandStateTest : public ::testing::Test {
    protected:
        void setDives(std::vector<DiveRecord> dives, int current)
        {
            m_logbook.adoptDives(std::move(dives));
            m_logbook.setCurrentDive(current);
        }
        bool enabled(Command command) const { return commandState(command, m_logbook, &m_catalogue, m_env).enabled; }

        logbook::Logbook m_logbook;
        computers::ComputerCatalogue m_catalogue = catalogue();
        CommandEnvironment m_env;
    };

    TEST_F(CommandStateTest, EmptyLogbookLeavesOnlyTheCommandsThatNeedNoDive)
    {
        const Command alwaysOn[] = { Command::NewLogbook, Command::OpenLogbook, Command::SaveLogbook,
            Command::ReopenLogbook, Command::ReadComputer, Command::ImportCitizen, Command::ImportGuardian,
            Command::ImportUddf, Command::Planner, Command::NoDecoComparison, Command::Options, Command::PrintSetup,
            Command::ComputerTypes, Command::KnownComputers, Command::About, Command::InsertDive, Command::Tips };
        for (Command c : alwaysOn)
            EXPECT_TRUE(enabled(c)) << static_cast<int>(c);
        const Command needDives[] = { Command::EditDive, Command::DeleteDive, Command::CopyDive, Command::TableView,
            Command::ProfileWindow, Command::Statistics, Command::SearchDive, Command::SplitDive, Command::MergeDives,
            Command::ManualData, Command::ExportCsv, Command::ExportUddf, Command::Certificates, Command::Trips,
            Command::Forecast, Command::SearchForward, Command::SearchBackward, Command::PasteDive, Command::MultiPaste,
            Command::ExternalApplication };
        m_env.lastSearchCriteria = 3;
        m_env.logbookFileExists = true;
        for (Command c : needDives)
            EXPECT_FALSE(enabled(c)) << static_cast<int>(c);
    }

    TEST_F(CommandStateTest, SearchStepsStopAtTheEnds)
    {
        setDives({ dive(1), dive(2), dive(3) }, 1);
        EXPECT_FALSE(enabled(Command::SearchForward)) << "no search made yet";
        m_env.lastSearchCriteria = 0;
        EXPECT_TRUE(enabled(Command::SearchForward));
        EXPECT_FALSE(enabled(Command::SearchBackward));
        m_logbook.setCurrentDive(3);
        EXPECT_FALSE(enabled(Command::SearchForward));
        EXPECT_TRUE(enabled(Command::SearchBackward));
    }

    TEST_F(CommandStateTest, MergeNeedsTwoProfilesAndAShortKnownIntervalUnlessTheComputerIsOxygen)
    {
        struct Case {
            DiveRecord first, second;
            bool mergeable;
        };
        const Case cases[] = {
            { dive(1, 30), dive(2, 30, 120), true },
            { dive(1, 30), dive(2, 30, 121), false },
            { dive(1, 30), dive(2, 30, kMissing), false },
            { dive(1, 30), dive(2, 0, 10), false },
            { dive(1, 0, kMissing, kOxygenComputer), dive(2, 0, kMissing, kOxygenComputer), true },
            { dive(1, 30, kMissing, kOxygenComputer), dive(2, 30, 5, kAirComputer), false },
            // The same computer read from another program's file follows the ordinary rule.
            { dive(1, 30, kMissing, kOxygenImport), dive(2, 30, 5, kOxygenImport), true },
            { dive(1, 0, kMissing, kOxygenImport), dive(2, 0, kMissing, kOxygenImport), false },
        };
        for (const Case &c : cases) {
            setDives({ c.first, c.second }, 1);
            EXPECT_EQ(enabled(Command::MergeDives), c.mergeable) << &c - cases;
        }
        setDives({ cases[0].first, cases[0].second }, 2);
        EXPECT_FALSE(enabled(Command::MergeDives)) << "the last dive has nothing to merge with";
        EXPECT_FALSE(isLinkedOxygenComputer(nullptr, kOxygenComputer));
    }

    TEST_F(CommandStateTest, ProfileDependentCommands)
    {
        DiveRecord handDrawn = dive(2, 30);
        handDrawn.profileHeader = { 2927, 2928, 2929, 2930, 2931, 2932, 2933, 2934 };
        handDrawn.maxDepth = 1800;
        handDrawn.duration = 40;
        DiveRecord computer = dive(1, 30);
        computer.profileHeader[0] = 7;
        computer.maxDepth = 1800;
        computer.duration = 40;
        DiveRecord unknownDepth = dive(3);
        unknownDepth.duration = 40;
        setDives({ computer, handDrawn, unknownDepth }, 1);
        EXPECT_TRUE(enabled(Command::SplitDive));
        EXPECT_FALSE(enabled(Command::ManualData));
        m_logbook.setCurrentDive(2);
        EXPECT_TRUE(enabled(Command::ManualData));
        m_logbook.setCurrentDive(3);
        EXPECT_FALSE(enabled(Command::SplitDive));
        EXPECT_FALSE(enabled(Command::ManualData)) << "a profile cannot be drawn without the maximum depth";
    }

    TEST_F(CommandStateTest, EnvironmentDrivenCommands)
    {
        setDives({ dive(1) }, 1);
        const Command commands[]
            = { Command::PasteDive, Command::MultiClear, Command::Trips, Command::ExternalApplication };
        for (Command c : commands)
            EXPECT_FALSE(enabled(c)) << static_cast<int>(c);
        m_env = { true, 2, -1, true, true, true };
        for (Command c : commands)
            EXPECT_TRUE(enabled(c)) << static_cast<int>(c);
        EXPECT_TRUE(commandState(Command::ProfilePreview, m_logbook, &m_catalogue, m_env).checked);
    }

} // namespace
} // namespace zorv::app
