#include "common/fileset.h"
#include "logbook/generator.h"
#include "logbook/logbookfile.h"
#include "testutil.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zorv::logbook {
namespace {

    namespace fs = std::filesystem;
    using Bytes = std::vector<std::uint8_t>;

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
        test::writeBytes(log, set.log);
        test::writeBytes(fs::path(log).replace_extension(".add"), set.add);
    }

    // The file set as the next open reads it, or nothing when the open fails.
    std::optional<SetBytes> reopen(const fs::path &log)
    {
        Logbook reopened;
        reopened.setMode(Mode::Advanced);
        if (!LogbookFile::loadFromPath(reopened, log.string()))
            return std::nullopt;
        return bytesOf(reopened);
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

        const auto save = [&] { return LogbookFile::save(next, log.string()).ok(); };
        restoreOld();
        const int steps = test::countSaveSteps(save);
        ASSERT_GT(steps, 0);
        const int stride = std::max(1, steps / maxKills);

        int oldSeen = 0, newSeen = 0;
        for (int n = 1; n <= steps; n += stride) {
            restoreOld();
            EXPECT_TRUE(test::killedAtStep(n, save)) << "step " << n;
            const std::optional<SetBytes> reopened = reopen(log);
            ASSERT_TRUE(reopened) << "step " << n;
            const SetBytes got = *reopened;
            EXPECT_TRUE(got == oldBytes || got == newBytes) << "step " << n << " of " << steps;
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
        EXPECT_EQ(reopen(dir / "home.log"), bytesOf(next));
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
        EXPECT_EQ(test::readBytes(dir / "patched.log.bak"), patched.log);
        EXPECT_EQ(test::readBytes(dir / "patched.add.bak"), patched.add);
        // Only the first save: the next one must not replace the backup with the cut file.
        ASSERT_TRUE(LogbookFile::save(logbook, log.string()));
        EXPECT_EQ(test::readBytes(dir / "patched.log.bak"), patched.log);
        EXPECT_EQ(reopen(log), bytesOf(logbook));
        EXPECT_EQ(LogbookFile::loadNotice(log.string()), "");
    }

#if defined(__SANITIZE_ADDRESS__)
#define ZORV_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZORV_ASAN 1
#endif
#endif

    // The backup of a file with a huge tail past its dives is copied a piece at a time:
    // a 3 GB sparse tail is kept (sparse) within a 2 GB address space.
    TEST(LogbookFileSet, AHugeTailIsKeptWithinABoundedAddressSpace)
    {
#ifdef ZORV_ASAN
        GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
#else
        test::TempDir dir;
        Logbook full, unused;
        makePair(full, unused, 20);
        const fs::path log = dir / "tail.log";
        writeSet(log, bytesOf(full));
        const std::uintmax_t tail = 3ULL << 30;
        const std::uintmax_t size = fs::file_size(log) + tail;
        fs::resize_file(log, size);

        const int status = test::inChild([&] {
            const rlimit limit { 2000000ULL * 1024, 2000000ULL * 1024 };
            if (::setrlimit(RLIMIT_AS, &limit) != 0)
                return 9;
            Logbook logbook;
            logbook.setMode(Mode::Advanced);
            if (!LogbookFile::loadFromPath(logbook, log.string()) || logbook.diveCount() != 20)
                return 2;
            return LogbookFile::save(logbook, log.string()) ? 0 : 3;
        });
        ASSERT_EQ(status, 0) << "below 0: killed by that signal";
        EXPECT_EQ(fs::file_size(dir / "tail.log.bak"), size);
        struct stat st { };
        ASSERT_EQ(::stat((dir / "tail.log.bak").c_str(), &st), 0);
        EXPECT_LT(static_cast<std::uintmax_t>(st.st_blocks) * 512, 64ULL << 20) << "the holes were written out";
        EXPECT_EQ(fs::file_size(log), bytesOf(full).log.size());
#endif
    }

    // A save stopped in its commit phase, in a folder this reader may not write: the
    // complete new set is read where it lies, read-only, instead of nothing.
    TEST(LogbookFileSet, AnUnfinishedSaveInAProtectedFolderStillOpens)
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to read as another user";
        test::TempDir dir;
        Logbook old, next;
        makePair(old, next, 12);
        const fs::path log = dir / "shared.log";
        writeSet(log, bytesOf(old));
        // Stop the save right after the first rename.
        int renames = 0;
        static int *s_renames;
        s_renames = &renames;
        test::inChild([&] {
            common::setFsStepHook([](common::FsStep step) {
                if (step == common::FsStep::Rename && ++*s_renames == 2)
                    ::raise(SIGKILL);
            });
            return LogbookFile::save(next, log.string()) ? 0 : 1;
        });
        ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
        for (const auto &entry : fs::directory_iterator(dir.path()))
            ::chmod(entry.path().c_str(), 0644);

        const int status = test::inChild([&] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                return 9;
            const std::optional<SetBytes> reopened = reopen(log);
            if (!reopened)
                return 2;
            if (LogbookFile::loadNotice(log.string()).find("lecture seule") == std::string::npos)
                return 3;
            return reopened == bytesOf(next) ? 0 : 4;
        });
        EXPECT_EQ(status, 0);
        // The owner of the folder finishes it at the next open.
        EXPECT_EQ(reopen(log), bytesOf(next));
    }

    // A linked .log whose .add lies only beside the link: its supplementary fields are
    // read from there and saved back there, never replaced with blank entries.
    TEST(LogbookFileSet, AnAddBesideTheLinkIsReadAndKept)
    {
        test::TempDir dir;
        Logbook full, unused;
        makePair(full, unused, 5);
        fs::create_directory(dir / "real");
        writeSet(dir / "x.log", bytesOf(full));
        fs::rename(dir / "x.log", dir / "real" / "x.log");
        fs::create_symlink("real/x.log", dir / "x.log");

        Logbook logbook;
        logbook.setMode(Mode::Advanced);
        ASSERT_TRUE(LogbookFile::loadFromPath(logbook, (dir / "x.log").string()));
        EXPECT_TRUE(bytesOf(logbook) == bytesOf(full));
        EXPECT_NE(LogbookFile::loadNotice((dir / "x.log").string()).find("à côté du lien"), std::string::npos);
        ASSERT_TRUE(LogbookFile::save(logbook, (dir / "x.log").string()));
        EXPECT_FALSE(fs::exists(dir / "real" / "x.add"));
        EXPECT_EQ(test::readBytes(dir / "x.add"), bytesOf(full).add);
    }

    // A save whose first rename fails after its commit record is on disk has decided
    // the new set: it says so, and the next open shows it.
    TEST(LogbookFileSet, AFailurePastTheCommitRecordSaysTheChangeIsKept)
    {
        test::TempDir dir;
        Logbook old, next;
        makePair(old, next, 8);
        const fs::path log = dir / "kept.log";
        writeSet(log, bytesOf(old));
        common::setRenameFaultForTests(EIO);
        const common::Result failed = LogbookFile::save(next, log.string());
        common::setRenameFaultForTests(0);
        ASSERT_FALSE(failed);
        EXPECT_NE(failed.message().find("Vos modifications sont conservées"), std::string::npos) << failed.message();
        EXPECT_EQ(reopen(log), bytesOf(next));
    }

} // namespace
} // namespace zorv::logbook
