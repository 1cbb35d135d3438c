// What a folder may hold under our names, and what the file layer does with it.
#include "common/atomicfile.h"
#include "common/editlock.h"
#include "common/fileset.h"
#include "testutil.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <functional>
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

    const std::string kTemp = ".zorv-tmp-00000000000000a1";
    const std::string kTemp2 = ".zorv-tmp-00000000000000a2";

    void putU32(std::string &out, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }

    // A record as a save writes it, with a valid checksum: only what it names is wrong.
    std::string record(const std::vector<std::pair<std::string, std::string>> &pairs)
    {
        std::string out = "ZORVCMT1";
        putU32(out, static_cast<std::uint32_t>(pairs.size()));
        for (const auto &[temp, target] : pairs) {
            for (const std::string *name : { &temp, &target }) {
                putU32(out, static_cast<std::uint32_t>(name->size()));
                out += *name;
            }
        }
        std::uint64_t h = 0xcbf29ce484222325ULL;
        for (const char c : out) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ULL;
        }
        putU32(out, static_cast<std::uint32_t>(h & 0xFFFFFFFFu));
        return out;
    }

    struct Planted {
        const char *what;
        // Lays the trap in `dir` (the logbook's folder, holding x.log and x.add) beside
        // `outside` (another folder) and returns the record's content.
        std::function<std::string(const fs::path &dir, const fs::path &outside)> plant;
    };

    TEST(CommitRecord, ARecordThatNamesAnythingButOurOwnFilesMovesNothing)
    {
        const Planted cases[] = {
            { "an absolute target in another folder",
                [](const fs::path &dir, const fs::path &outside) {
                    writeFile(dir / kTemp, "evil");
                    return record({ { kTemp, (outside / "victim").string() } });
                } },
            { "a target climbing out with ..",
                [](const fs::path &dir, const fs::path &) {
                    writeFile(dir / kTemp, "evil");
                    return record({ { kTemp, "../outside/victim" } });
                } },
            { "a target beside the logbook that is not its pair",
                [](const fs::path &dir, const fs::path &) {
                    writeFile(dir / kTemp, "evil");
                    return record({ { kTemp, "notes.txt" } });
                } },
            { "the pair with one more target",
                [](const fs::path &dir, const fs::path &) {
                    writeFile(dir / kTemp, "evil");
                    writeFile(dir / kTemp2, "evil");
                    return record({ { kTemp, "x.log" }, { kTemp2, "notes.txt" } });
                } },
            { "a temporary that is no temporary of ours",
                [](const fs::path &, const fs::path &) {
                    return record({ { "notes.txt", "x.log" } });
                } },
            { "a temporary named with a folder",
                [](const fs::path &dir, const fs::path &) {
                    fs::create_directory(dir / "sub");
                    writeFile(dir / "sub" / kTemp, "evil");
                    return record({ { "sub/" + kTemp, "x.log" } });
                } },
            { "a temporary that is a link to another file",
                [](const fs::path &dir, const fs::path &outside) {
                    fs::create_symlink(outside / "victim", dir / kTemp);
                    return record({ { kTemp, "x.log" } });
                } },
        };
        for (const Planted &c : cases) {
            TempDir root;
            const fs::path dir = root / "book";
            const fs::path outside = root / "outside";
            fs::create_directory(dir);
            fs::create_directory(outside);
            writeFile(dir / "x.log", "old log");
            writeFile(dir / "x.add", "old add");
            writeFile(dir / "notes.txt", "notes");
            writeFile(outside / "victim", "victim");
            writeFile(commitRecordPath(dir / "x.log"), c.plant(dir, outside));

            auto readable = prepareFileSetForReading(dir / "x.log");
            ASSERT_TRUE(readable) << c.what << ": " << readable.message();
            EXPECT_NE(readable->notice.find("aucun fichier n'a été déplacé"), std::string::npos)
                << c.what << ": " << readable->notice;
            EXPECT_EQ(readFile(dir / "x.log"), "old log") << c.what;
            EXPECT_EQ(readFile(dir / "x.add"), "old add") << c.what;
            EXPECT_EQ(readFile(dir / "notes.txt"), "notes") << c.what;
            EXPECT_EQ(readFile(outside / "victim"), "victim") << c.what;
            EXPECT_FALSE(fs::exists(commitRecordPath(dir / "x.log"))) << c.what;
        }
    }

    TEST(CommitRecord, OurOwnRecordStillRollsForward)
    {
        TempDir dir;
        writeFile(dir / "x.log", "new log"); // renamed before the stop
        writeFile(dir / "x.add", "old add");
        writeFile(dir / kTemp2, "new add");
        writeFile(commitRecordPath(dir / "x.log"), record({ { kTemp, "x.log" }, { kTemp2, "x.add" } }));
        auto readable = prepareFileSetForReading(dir / "x.log");
        ASSERT_TRUE(readable) << readable.message();
        EXPECT_EQ(readable->notice, "");
        EXPECT_EQ(readFile(dir / "x.add"), "new add");
        EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string> { "x.add", "x.log" }));
    }

    // A read error must not pass for a record cut short: dropping that record would
    // leave the new .log beside the old .add.
    TEST(CommitRecord, ARecordThatCannotBeReadFailsTheOpenAndStays)
    {
        TempDir dir;
        writeFile(dir / "x.log", "new log");
        writeFile(dir / "x.add", "old add");
        writeFile(dir / kTemp2, "new add");
        const fs::path rec = commitRecordPath(dir / "x.log");
        writeFile(rec, record({ { kTemp, "x.log" }, { kTemp2, "x.add" } }));
        setReadFaultForTests(EIO);
        auto failed = prepareFileSetForReading(dir / "x.log");
        setReadFaultForTests(0);
        EXPECT_FALSE(failed);
        EXPECT_TRUE(fs::exists(rec));
        EXPECT_EQ(readFile(dir / "x.add"), "old add");
        ASSERT_TRUE(prepareFileSetForReading(dir / "x.log"));
        EXPECT_EQ(readFile(dir / "x.add"), "new add");
    }

    TEST(CommitRecord, WhatIsNoSmallRegularFileIsSetAsideAndTheLogbookOpens)
    {
        const std::pair<const char *, std::function<void(const fs::path &)>> cases[] = {
            { "fifo", [](const fs::path &p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); } },
            { "link", [](const fs::path &p) { fs::create_symlink(p.filename(), p); } },
            { "folder", [](const fs::path &p) { fs::create_directory(p); } },
            { "sparse 3 GB",
                [](const fs::path &p) {
                    writeFile(p, "ZORVCMT1");
                    fs::resize_file(p, 3ULL << 30);
                } },
        };
        for (const auto &[what, make] : cases) {
            TempDir dir;
            writeFile(dir / "x.log", "old log");
            const fs::path rec = commitRecordPath(dir / "x.log");
            make(rec);
            auto readable = prepareFileSetForReading(dir / "x.log");
            ASSERT_TRUE(readable) << what << ": " << readable.message();
            EXPECT_NE(readable->notice.find("mis de côté"), std::string::npos) << what;
            EXPECT_FALSE(fs::exists(fs::symlink_status(rec))) << what;
            EXPECT_EQ(namesIn(dir.path()).size(), 2u) << what; // x.log and what was set aside
            EXPECT_EQ(readFile(dir / "x.log"), "old log") << what;
        }
    }

    TEST(CommitRecord, ANameTooLongIsRefusedBeforeAnythingIsWritten)
    {
        TempDir dir;
        const std::string data = "x";
        const FileToSave file { dir / (std::string(NAME_MAX - 3, 'n') + ".log"), test::bytesOf(data) };
        const Result refused = saveFileSet({ &file, 1 });
        EXPECT_EQ(refused.status(), Status::Refused);
        EXPECT_NE(refused.message().find("trop long"), std::string::npos);
        EXPECT_TRUE(namesIn(dir.path()).empty());

        // A record left by an older program for such a name can never complete: it goes
        // with its temporaries, and the old set stays.
        const std::string stem(NAME_MAX - 4, 'n');
        writeFile(dir / (stem + ".log"), "old log");
        writeFile(dir / kTemp, "new bak");
        writeFile(commitRecordPath(dir / (stem + ".log")), record({ { kTemp, stem + ".log.bak" } }));
        auto readable = prepareFileSetForReading(dir / (stem + ".log"));
        ASSERT_TRUE(readable) << readable.message();
        EXPECT_NE(readable->notice.find("abandonné"), std::string::npos) << readable->notice;
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { stem + ".log" });
    }

    // Each record round-trips through the decoder; a single changed byte is refused.
    TEST(CommitRecord, TheDecoderTakesWholeRecordsOnly)
    {
        const std::string bytes = record({ { kTemp, "x.log" }, { kTemp2, "/abs/x.add" } });
        const auto pairs = decodeCommitRecord(bytes);
        ASSERT_TRUE(pairs);
        ASSERT_EQ(pairs->size(), 2u);
        EXPECT_EQ((*pairs)[1].target, "/abs/x.add");
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            std::string damaged = bytes;
            damaged[i] = static_cast<char>(damaged[i] ^ 0x40);
            EXPECT_FALSE(decodeCommitRecord(damaged)) << "byte " << i;
        }
        EXPECT_FALSE(decodeCommitRecord(bytes.substr(0, bytes.size() - 1)));
        EXPECT_TRUE(isSaveTemporaryName(kTemp));
        for (const char *name : { ".zorv-tmp-0000000000000a1", ".zorv-tmp-00000000000000A1", ".zorv-tmp-x.log.0123",
                 "a/.zorv-tmp-00000000000000a1" })
            EXPECT_FALSE(isSaveTemporaryName(name)) << name;
    }

    TEST(LogbookPaths, EveryFileOfTheSetIsOneComparison)
    {
        TempDir dir;
        fs::create_directory(dir / "real");
        writeFile(dir / "real" / "x.log", "log");
        writeFile(dir / "real" / "x.add", "add");
        fs::create_symlink("real/x.log", dir / "link.log");
        fs::create_hard_link(dir / "real" / "x.add", dir / "hard.add");
        const LogbookPaths set = LogbookPaths::resolve(dir / "link.log");
        EXPECT_EQ(set.log(), dir / "real" / "x.log");
        EXPECT_EQ(set.add(), dir / "real" / "x.add");
        for (const fs::path &own : { dir / "link.log", dir / "real" / "x.log", dir / "real" / "." / "x.add",
                 dir / "real" / "x.inf", dir / "real" / "x.trp", dir / "real" / "x.prg", dir / "real" / "x.log.bak",
                 dir / "real" / ".~lock.x.log#", dir / "hard.add", set.writerLock(), set.commitRecord() })
            EXPECT_TRUE(set.holds(own)) << own;
        for (const fs::path &other : { dir / "link.add", dir / "real" / "y.log", dir / "x.csv" })
            EXPECT_FALSE(set.holds(other)) << other;
        EXPECT_TRUE(set.mayCommitTo(dir / "real" / "x.add.bak"));
        EXPECT_FALSE(set.mayCommitTo(dir / "real" / "x.inf"));
        EXPECT_FALSE(set.mayCommitTo(dir / "link.log"));
    }

    TEST(LogbookPaths, AnAddFoundOnlyBesideTheLinkIsTheOneUsed)
    {
        TempDir dir;
        fs::create_directory(dir / "real");
        writeFile(dir / "real" / "x.log", "log");
        writeFile(dir / "x.add", "extra fields");
        fs::create_symlink("real/x.log", dir / "x.log");
        const LogbookPaths set = LogbookPaths::resolve(dir / "x.log");
        EXPECT_TRUE(set.addBesideLink());
        EXPECT_EQ(set.add(), dir / "x.add");
        const std::string data = "new add";
        const auto bytes = test::bytesOf(data);
        const std::vector<FileToSave> files { { set.log(), bytes }, { set.add(), bytes } };
        ASSERT_TRUE(saveFileSet(files, &set));
        EXPECT_EQ(readFile(dir / "x.add"), "new add");
        EXPECT_FALSE(fs::exists(dir / "real" / "x.add"));
    }

    // Forks a child that holds `path` locked with flock until `release` is closed.
    pid_t holdLockedInChild(const fs::path &path, int &release)
    {
        int ready[2], go[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(go), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(go[1]);
            const int fd = ::open(path.c_str(), O_RDONLY);
            ::flock(fd, LOCK_EX);
            char c = 0;
            (void)!::write(ready[1], &c, 1);
            (void)!::read(go[0], &c, 1);
            ::_exit(0);
        }
        char c = 0;
        EXPECT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        ::close(go[0]);
        release = go[1];
        return pid;
    }

    TEST(Locks, AWaitForAFolderOrAWriterEndsNamingTheHolder)
    {
        TempDir dir;
        int release = -1;
        const pid_t pid = holdLockedInChild(dir.path(), release);
        auto folder = FolderLock::take(dir.path(), FolderLock::Mode::Shared, 200);
        ASSERT_FALSE(folder);
        EXPECT_EQ(folder.status(), Status::Busy);
        EXPECT_NE(folder.message().find("processus " + std::to_string(pid)), std::string::npos) << folder.message();
        ::close(release);
        ::waitpid(pid, nullptr, 0);
        EXPECT_TRUE(FolderLock::take(dir.path(), FolderLock::Mode::Shared, 200));

        const LogbookPaths set = LogbookPaths::resolve(dir / "x.log");
        {
            auto first = WriterLock::acquire(set, 100);
            ASSERT_TRUE(first);
            auto second = WriterLock::acquire(set, 100);
            ASSERT_FALSE(second);
            EXPECT_NE(second.message().find("processus " + std::to_string(::getpid())), std::string::npos)
                << second.message();
        }
        EXPECT_FALSE(fs::exists(set.writerLock()));
        EXPECT_TRUE(WriterLock::acquire(set, 100));
    }

    TEST(EditLock, ALiveHolderIsSeenWithoutTakingAnything)
    {
        TempDir dir;
        const fs::path log = dir / "x.log";
        EXPECT_FALSE(EditLock::liveHolder(log));
        writeFile(dir / ".~lock.x.log#", "someone sur elsewhere (processus 1)\n");
        EXPECT_FALSE(EditLock::liveHolder(log)); // stale: nobody holds it
        {
            const EditLock held = EditLock::acquire(log);
            const auto holder = EditLock::liveHolder(log);
            ASSERT_TRUE(holder);
            EXPECT_NE(holder->find("processus " + std::to_string(::getpid())), std::string::npos) << *holder;
        }
        EXPECT_FALSE(EditLock::liveHolder(log));
        EXPECT_FALSE(fs::exists(dir / ".~lock.x.log#"));
    }

} // namespace
} // namespace zorv::common
