#include "common/atomicfile.h"
#include "common/fileset.h"
#include "testutil.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zorv::common {
namespace {

    namespace fs = std::filesystem;
    using test::namesIn;
    using test::readFile;
    using test::TempDir;
    using test::writeFile;

    using test::bytesOf;
    using test::inChild;

    struct stat statOf(const fs::path &path)
    {
        struct stat st { };
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st;
    }

    TEST(SaveFileSet, AKillAtAnyStepLeavesTheOldOrTheNewSetAtTheNextRead)
    {
        TempDir dir;
        const fs::path a = dir / "pair.log";
        const fs::path b = dir / "pair.add";
        const std::string newA = "new log", newB = "new add, longer than the old";
        const std::vector<FileToSave> files { { a, bytesOf(newA) }, { b, bytesOf(newB) } };

        auto restoreOld = [&] {
            for (const auto &entry : fs::directory_iterator(dir.path()))
                fs::remove(entry.path());
            writeFile(a, "old log");
            writeFile(b, "old add");
        };
        const auto save = [&] { return saveFileSet(files).ok(); };
        restoreOld();
        const int steps = test::countSaveSteps(save);
        ASSERT_GE(steps, 12);

        bool sawNew = false;
        for (int n = 1; n <= steps; ++n) {
            restoreOld();
            EXPECT_TRUE(test::killedAtStep(n, save)) << "step " << n;
            auto lock = prepareFileSetForReading(a);
            ASSERT_TRUE(lock) << lock.message();
            const bool isNew = readFile(a) == newA && readFile(b) == newB;
            const bool isOld = readFile(a) == "old log" && readFile(b) == "old add";
            EXPECT_TRUE(isNew || isOld) << "step " << n << ": " << readFile(a) << " / " << readFile(b);
            // Once the record is complete every later stop must give the new set.
            EXPECT_TRUE(isNew || !sawNew) << "step " << n;
            sawNew = sawNew || isNew;
            EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "pair.add", "pair.log" })) << "step " << n;
        }
        EXPECT_TRUE(sawNew);
    }

    TEST(SaveFileSet, RefusesWhatTheUserMayNotWriteAndKeepsModeAndOwner)
    {
        TempDir dir;
        const fs::path locked = dir / "locked.log";
        writeFile(locked, "old");
        ::chmod(locked.c_str(), 0444);
        const std::string data = "new";
        const FileToSave file { locked, bytesOf(data) };
        const Result refused = saveFileSet({ &file, 1 });
        EXPECT_EQ(refused.status(), Status::AccessDenied);
        EXPECT_NE(refused.message().find("locked.log"), std::string::npos);
        EXPECT_EQ(readFile(locked), "old");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "locked.log" });

        // A companion created beside a private file is private too.
        const fs::path log = dir / "private.log";
        writeFile(log, "old");
        ::chmod(log.c_str(), 0600);
        const std::vector<FileToSave> pair { { log, bytesOf(data) }, { dir / "private.add", bytesOf(data) } };
        ASSERT_TRUE(saveFileSet(pair));
        EXPECT_EQ(statOf(dir / "private.add").st_mode & 07777, 0600u);
        EXPECT_EQ(statOf(log).st_mode & 07777, 0600u);

        if (::geteuid() != 0)
            return;
        // Root saving a user's file leaves it the user's.
        ASSERT_EQ(::chown(log.c_str(), 65534, 65534), 0);
        ASSERT_TRUE(saveFileSet(pair));
        EXPECT_EQ(statOf(log).st_uid, 65534u);
        EXPECT_EQ(statOf(log).st_gid, 65534u);

        // Another user's file is refused to a user who may not write it.
        const fs::path others = dir / "others.log";
        writeFile(others, "old");
        ::chmod(others.c_str(), 0644);
        ::chmod(dir.path().c_str(), 0777);
        const int status = inChild([&] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                return 9;
            const FileToSave f { others, bytesOf(data) };
            return saveFileSet({ &f, 1 }).status() == Status::AccessDenied ? 0 : 1;
        });
        EXPECT_EQ(status, 0);
        EXPECT_EQ(readFile(others), "old");
    }

    TEST(SaveFileSet, ALongNameStillHasRoomForItsTemporary)
    {
        TempDir dir;
        const fs::path target = dir / (std::string(250, 'n') + ".log");
        ASSERT_TRUE(saveFileAtomically(target, std::string("data"))) << target;
        EXPECT_EQ(readFile(target), "data");
    }

    TEST(SaveFileSet, CompanionsFollowTheLinkedFile)
    {
        TempDir dir;
        fs::create_directory(dir / "synced");
        writeFile(dir / "synced" / "real.log", "old");
        fs::create_symlink("synced/real.log", dir / "link.log");
        EXPECT_EQ(resolveLinks(dir / "link.log"), dir / "synced" / "real.log");
        EXPECT_EQ(resolveLinks(dir / "synced" / "real.log"), dir / "synced" / "real.log");
        // A dangling link names the file to create.
        fs::create_symlink("synced/new.log", dir / "dangling.log");
        EXPECT_EQ(resolveLinks(dir / "dangling.log"), dir / "synced" / "new.log");
    }

    TEST(RemoveUnheldTempFiles, RemovesOnlyOurTemporariesAndLeavesWhatALiveSaverHolds)
    {
        TempDir dir;
        const fs::path held = dir / ".zorv-tmp-00000000000000aa";
        const fs::path stray = dir / ".zorv-tmp-00000000000000bb";
        const fs::path oldStyle = dir / ".zorv-tmp-dives.log.0123456789abcdef";
        // Older versions named their temporaries after the target; those go as well.
        for (const fs::path &p : { held, stray, oldStyle })
            writeFile(p, "x");
        for (const char *kept : { "dives.log", "dives.log.0123456789abcdef", ".zorv-tmp" })
            writeFile(dir / kept, "kept");
        const int fd = ::open(held.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        removeStrayTempFiles(dir / "dives.log");
        removeStrayTempFiles(dir / "gone" / "dives.log"); // a missing folder is not an error
        ::close(fd);
        EXPECT_EQ(namesIn(dir.path()),
            (std::vector<std::string> {
                ".zorv-tmp", ".zorv-tmp-00000000000000aa", "dives.log", "dives.log.0123456789abcdef" }));
    }

    // Another process opening a logbook in the same folder while a save is under
    // way must not take the save's temporary file from under it.
    TEST(RemoveUnheldTempFiles, ASaveSurvivesAnOpenInAnotherProcess)
    {
        TempDir dir;
        const fs::path target = dir / "busy.log";
        int toParent[2], toChild[2];
        ASSERT_EQ(::pipe(toParent), 0);
        ASSERT_EQ(::pipe(toChild), 0);
        static int s_toParent, s_toChild;
        s_toParent = toParent[1];
        s_toChild = toChild[0];
        const pid_t pid = ::fork();
        if (pid == 0) {
            setFsStepHook([](FsStep s) {
                if (s != FsStep::Sync)
                    return;
                char c = 0;
                (void)!::write(s_toParent, &c, 1);
                (void)!::read(s_toChild, &c, 1);
            });
            ::_exit(saveFileAtomically(target, std::string("saved")) ? 0 : 1);
        }
        char c = 0;
        ASSERT_EQ(::read(toParent[0], &c, 1), 1);
        ASSERT_TRUE(prepareFileSetForReading(dir / "other.log"));
        ASSERT_EQ(::write(toChild[1], &c, 1), 1);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(readFile(target), "saved");
        for (int fd : { toParent[0], toParent[1], toChild[0], toChild[1] })
            ::close(fd);
    }

} // namespace
} // namespace zorv::common
