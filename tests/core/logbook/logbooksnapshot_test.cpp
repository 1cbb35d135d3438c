#include "logbook/generator.h"
#include "logbook/logbook.h"
#include "logbook/logbookfile.h"
#include "logbook/logbooksnapshot.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zorv::logbook {
namespace {

    struct FileSet {
        std::vector<std::uint8_t> log;
        std::vector<std::uint8_t> add;
        bool operator==(const FileSet &) const = default;
    };

    FileSet fileSet(const Logbook &logbook)
    {
        return { LogbookFile::logBytes(logbook), LogbookFile::addBytes(logbook) };
    }

    struct Change {
        std::string name;
        std::function<void(Logbook &)> apply;
        int unshared; // records the after state may not share with the before state
        int firstChanged; // the position undo and redo show
    };

    // Each change made after a snapshot is undone byte for byte by restoring
    // the snapshot, and redone by restoring the snapshot taken after it; the
    // after state copies no more records than the change touched.
    class SnapshotChanges : public testing::TestWithParam<Change> { };

    TEST_P(SnapshotChanges, RestoreGivesBackEveryByte)
    {
        Logbook logbook;
        generateLogbook(logbook, { 30, 7, 2019 });
        logbook.setCurrentDive(12);
        const FileSet before = fileSet(logbook);
        const LogbookSnapshot first = LogbookSnapshot::take(logbook);

        GetParam().apply(logbook);
        const FileSet after = fileSet(logbook);
        const int current = logbook.currentDive();
        const LogbookSnapshot second = LogbookSnapshot::take(logbook, &first);
        EXPECT_LE(second.unsharedWith(first), GetParam().unshared);
        EXPECT_EQ(second.firstDifference(first), GetParam().firstChanged);
        EXPECT_EQ(first.firstDifference(second), GetParam().firstChanged);

        second.restoreInto(logbook); // restoring the state it is in changes nothing
        EXPECT_EQ(fileSet(logbook), after);
        first.restoreInto(logbook);
        EXPECT_EQ(fileSet(logbook), before);
        EXPECT_EQ(logbook.currentDive(), 12);
        EXPECT_EQ(logbook.diveCount(), first.diveCount());
        second.restoreInto(logbook);
        EXPECT_EQ(fileSet(logbook), after);
        EXPECT_EQ(logbook.currentDive(), current);
        first.restoreInto(logbook);
        EXPECT_EQ(fileSet(logbook), before);
    }

    DiveRecord datedDive(Logbook &logbook, int position, int minutesLater)
    {
        DiveRecord d = *logbook.dive(position);
        d.entryTime = static_cast<std::int16_t>(d.entryTime + minutesLater);
        return d;
    }

    INSTANTIATE_TEST_SUITE_P(Logbook, SnapshotChanges,
        testing::Values(Change { "EditOne",
                            [](Logbook &l) {
                                DiveRecord d = *l.dive(5);
                                setFixedText(d.place, "Lac");
                                l.putDive(d, 5);
                            },
                            1, 5 },
            Change { "InsertInTheMiddle", [](Logbook &l) { l.insertDive(datedDive(l, 10, 1)); }, 1, 11 },
            Change { "InsertAtTheEnd", [](Logbook &l) { l.insertDive(datedDive(l, 30, 1)); }, 1, 31 },
            Change { "DeleteFirst", [](Logbook &l) { l.deleteDive(1); }, 0, 1 },
            Change { "DeleteMiddle", [](Logbook &l) { l.deleteDive(14); }, 0, 14 },
            Change { "DeleteAll",
                [](Logbook &l) {
                    while (l.diveCount() > 0)
                        l.deleteDive(1);
                },
                0, 1 },
            Change { "RenumberAll", [](Logbook &l) { l.renumber(500); }, 0, 1 },
            Change { "ShiftAllTimes", [](Logbook &l) { l.shiftTimes(1, 30, -90); }, 0, 1 },
            Change { "MoveByDate",
                [](Logbook &l) {
                    DiveRecord d = *l.dive(3);
                    d.date += 400;
                    l.moveDive(d, 3, l.positionForDate(d, 3));
                },
                1, 3 },
            Change { "FillEveryDive",
                [](Logbook &l) {
                    for (int p = 1; p <= l.diveCount(); ++p) {
                        DiveRecord d = *l.dive(p);
                        d.weather = 3;
                        l.putDive(d, p);
                    }
                },
                30, 1 },
            Change { "SerialFromATransfer", [](Logbook &l) { l.setHeaderLong(123456); }, 0, 0 }),
        [](const testing::TestParamInfo<Change> &info) { return info.param.name; });

    TEST(LogbookSnapshot, EmptyLogbookKeepsItsFirstNumber)
    {
        Logbook logbook;
        generateLogbook(logbook, { 3, 1, 2020 });
        logbook.renumber(40);
        while (logbook.diveCount() > 0)
            logbook.deleteDive(1);
        const LogbookSnapshot empty = LogbookSnapshot::take(logbook);
        DiveRecord d;
        d.date = 800000;
        ASSERT_TRUE(logbook.insertDive(d));
        const LogbookSnapshot one = LogbookSnapshot::take(logbook, &empty);
        empty.restoreInto(logbook);
        EXPECT_EQ(logbook.diveCount(), 0);
        EXPECT_EQ(logbook.currentDive(), 0);
        EXPECT_EQ(logbook.firstDiveNumber(), 40);
        one.restoreInto(logbook);
        EXPECT_EQ(logbook.diveCount(), 1);
        EXPECT_EQ(logbook.currentDive(), 1);
    }

} // namespace
} // namespace zorv::logbook
