#include "common/fileset.h"
#include "logbook/generator.h"
#include "logbook/logbookfile.h"
#include "testutil.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zorv::logbook {
namespace {

    namespace fs = std::filesystem;
    using Bytes = std::vector<std::uint8_t>;

    int g_killAt = 0;
    int g_steps = 0;
    void killAtStep(common::FsStep)
    {
        if (++g_steps == g_killAt)
            ::raise(SIGKILL);
    }

    struct SetBytes {
        Bytes log;
        Bytes add;
        bool operator==(const SetBytes &) const = default;
    };

    SetBytes bytesOf(const Logbook &logbook)
    {
        return { LogbookFile::logBytes(logbook), LogbookFile::addBytes(logbook) };
    }

    void writeSet(const fs::path &log, const SetBytes &set)
    {
        test::writeFile(log, std::string(set.log.begin(), set.log.end()));
        test::writeFile(fs::path(log).replace_extension(".add"), std::string(set.add.begin(), set.add.end()));
    }

    /*
     * Kills a save of `next` over the file set of `old` at each of its disk steps in
     * turn (up to `maxKills`, spread over the whole sequence) and checks that the next
     * open finds exactly the old or the new dives. The new logbook lacks the old one's
     * first dive, so a new .log read with an old .add (or the reverse) would give
     * every dive its neighbour's supplementary fields and match neither.
     */
    void killEverySaveStep(Logbook &old, Logbook &next, const fs::path &dir, int maxKills)
    {
        const fs::path log = dir / "kill.log";
        const SetBytes oldBytes = bytesOf(old);
        const SetBytes newBytes = bytesOf(next);
        ASSERT_NE(oldBytes.add, newBytes.add);
        auto restoreOld = [&] {
            for (const auto &entry : fs::directory_iterator(dir))
                fs::remove(entry.path());
            writeSet(log, oldBytes);
        };

        restoreOld();
        g_killAt = 0;
        g_steps = 0;
        common::setFsStepHook(killAtStep);
        ASSERT_TRUE(LogbookFile::save(next, log.string()));
        common::setFsStepHook(nullptr);
        const int steps = g_steps;
        const int stride = std::max(1, steps / maxKills);

        int oldSeen = 0, newSeen = 0;
        for (int n = 1; n <= steps; n += stride) {
            restoreOld();
            const pid_t pid = ::fork();
            if (pid == 0) {
                g_killAt = n;
                g_steps = 0;
                common::setFsStepHook(killAtStep);
                ::_exit(LogbookFile::save(next, log.string()) ? 0 : 1);
            }
            int status = 0;
            ::waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "step " << n;

            Logbook reopened;
            reopened.setMode(Mode::Advanced);
            ASSERT_TRUE(LogbookFile::loadFromPath(reopened, log.string())) << "step " << n;
            const SetBytes got = bytesOf(reopened);
            EXPECT_TRUE(got == oldBytes || got == newBytes)
                << "step " << n << " of " << steps << ": " << reopened.diveCount() << " dives";
            EXPECT_TRUE(got == newBytes || newSeen == 0) << "old set came back after the new one, step " << n;
            (got == newBytes ? newSeen : oldSeen)++;
        }
        EXPECT_GT(oldSeen, 0);
        EXPECT_GT(newSeen, 0);
    }

    void makePair(Logbook &old, Logbook &next, int dives)
    {
        for (Logbook *logbook : { &old, &next }) {
            logbook->setMode(Mode::Advanced);
            generateLogbook(*logbook, { .dives = dives });
        }
        next.deleteDive(1);
    }

    TEST(LogbookFileSet, AKilledSaveLeavesTheOldOrTheNewDives)
    {
        test::TempDir dir;
        Logbook old, next;
        makePair(old, next, 40);
        killEverySaveStep(old, next, dir.path(), 1000);
    }

    TEST(LogbookFileSet, AKilledSaveOfAFullLogbookLeavesTheOldOrTheNewDives)
    {
        // The kills stop processes, they do not cut the power: the syncs need not reach
        // a disk, and in memory thirty saves of 30 MB take seconds instead of minutes.
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string name = (base / "zorv-kill-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        const fs::path dir = name;
        Logbook old, next;
        makePair(old, next, 32767);
        killEverySaveStep(old, next, dir, 30);
        fs::remove_all(dir, ec);
    }

    TEST(LogbookFileSet, ALinkedLogbookIsSavedWhollyBesideItsTarget)
    {
        test::TempDir dir;
        Logbook old, next;
        makePair(old, next, 5);
        fs::create_directory(dir / "synced");
        writeSet(dir / "synced" / "real.log", bytesOf(old));
        fs::create_symlink("synced/real.log", dir / "home.log");

        ASSERT_TRUE(LogbookFile::save(next, (dir / "home.log").string()));
        EXPECT_TRUE(fs::is_symlink(dir / "home.log"));
        EXPECT_FALSE(fs::exists(dir / "home.add"));
        Logbook reopened;
        reopened.setMode(Mode::Advanced);
        ASSERT_TRUE(LogbookFile::loadFromPath(reopened, (dir / "home.log").string()));
        EXPECT_EQ(bytesOf(reopened), bytesOf(next));
    }

    // A header that counts fewer dives than the file holds loads as it says, but the
    // user is told, and the first save keeps the whole file set aside.
    TEST(LogbookFileSet, AFileHoldingMoreThanItsHeaderCountsIsKeptBeforeTheFirstSave)
    {
        test::TempDir dir;
        Logbook full, unused;
        makePair(full, unused, 40);
        const fs::path log = dir / "patched.log";
        SetBytes patched = bytesOf(full);
        patched.log[6] = 10;
        patched.log[7] = 0;
        writeSet(log, patched);

        Logbook logbook;
        logbook.setMode(Mode::Advanced);
        ASSERT_TRUE(LogbookFile::loadFromPath(logbook, log.string()));
        EXPECT_EQ(logbook.diveCount(), 10);
        const std::string notice = LogbookFile::loadNotice(log.string());
        EXPECT_NE(notice.find("patched.log.bak"), std::string::npos) << notice;

        ASSERT_TRUE(LogbookFile::save(logbook, log.string()));
        EXPECT_EQ(test::readFile(dir / "patched.log.bak"), std::string(patched.log.begin(), patched.log.end()));
        EXPECT_EQ(test::readFile(dir / "patched.add.bak"), std::string(patched.add.begin(), patched.add.end()));
        // Only the first save: the next one must not replace the backup with the cut file.
        ASSERT_TRUE(LogbookFile::save(logbook, log.string()));
        EXPECT_EQ(test::readFile(dir / "patched.log.bak"), std::string(patched.log.begin(), patched.log.end()));

        Logbook whole;
        whole.setMode(Mode::Advanced);
        ASSERT_TRUE(LogbookFile::loadFromPath(whole, log.string()));
        EXPECT_EQ(whole.diveCount(), 10);
        EXPECT_EQ(LogbookFile::loadNotice(log.string()), "");
    }

} // namespace
} // namespace zorv::logbook
