#include "common/atomicfile.h"
#include "common/editlock.h"
#include "testutil.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace zorv::common {
namespace {

    namespace fs = std::filesystem;

    TEST(EditLock, ASecondEditorFindsTheFirstUntilItLetsGoOrIsGone)
    {
        test::TempDir dir;
        const fs::path log = dir / "dives.log";
        test::writeFile(log, "x");
        {
            EditLock first = EditLock::acquire(log);
            ASSERT_EQ(first.state(), EditLock::State::Mine);
            EXPECT_TRUE(fs::exists(dir / ".~lock.dives.log#"));
            const EditLock second = EditLock::acquire(log);
            EXPECT_EQ(second.state(), EditLock::State::HeldByOther);
            EXPECT_NE(second.holder().find("processus"), std::string::npos) << second.holder();

            // Taking over leaves the first editor's lock alone when it lets go.
            EditLock third = EditLock::takeOver(log);
            EXPECT_EQ(third.state(), EditLock::State::Mine);
            first = EditLock();
            EXPECT_TRUE(fs::exists(dir / ".~lock.dives.log#"));
            EXPECT_EQ(EditLock::acquire(log).state(), EditLock::State::HeldByOther);
        }
        EXPECT_FALSE(fs::exists(dir / ".~lock.dives.log#"));

        // A lock file left by a process that is gone is stale and taken without a word.
        test::writeFile(dir / ".~lock.dives.log#", "someone sur elsewhere (processus 1)\n");
        EXPECT_EQ(EditLock::acquire(log).state(), EditLock::State::Mine);
    }

    TEST(FileStamp, ChangesWithEverySave)
    {
        test::TempDir dir;
        const fs::path log = dir / "dives.log";
        EXPECT_EQ(fileStamp(log).size, -1);
        ASSERT_TRUE(saveFileAtomically(log, std::string("one")));
        const FileStamp first = fileStamp(log);
        EXPECT_EQ(fileStamp(log), first);
        ASSERT_TRUE(saveFileAtomically(log, std::string("two")));
        EXPECT_NE(fileStamp(log), first);
    }

} // namespace
} // namespace zorv::common
