#include "common/atomicfile.h"
#include "testutil.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using zorv::common::readWholeFile;
using zorv::common::saveFileAtomically;
using zorv::test::namesIn;
using zorv::test::readFile;
using zorv::test::TempDir;
using zorv::test::writeFile;

TEST(SaveFileAtomically, CreatesThenReplaces)
{
    TempDir dir;
    const fs::path target = dir / "dives.log";

    ASSERT_TRUE(saveFileAtomically(target, std::string("first version, rather long")));
    EXPECT_EQ(readFile(target), "first version, rather long");

    // A shorter text must not leave the tail of the longer one behind.
    const std::string binary("\x00\x01\xFF short", 9);
    const auto result = saveFileAtomically(target, binary);
    EXPECT_TRUE(result.ok() && result.message().empty());
    EXPECT_EQ(readFile(target), binary);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "dives.log" });

    ASSERT_TRUE(saveFileAtomically(target, std::string()));
    EXPECT_EQ(fs::file_size(target), 0u);
}

TEST(SaveFileAtomically, FailsOverAFolderOrIntoAMissingOneAndCleansUp)
{
    TempDir dir;
    const fs::path target = dir / "dives.log";
    fs::create_directory(target);
    writeFile(target / "inside", "kept");

    // The user is told in French which file could not be saved and why.
    const std::pair<fs::path, std::string> cases[] = {
        { target, "Impossible d'enregistrer « dives.log » : c'est un dossier" },
        { dir / "no-such-folder" / "dives.log",
            "Impossible d'enregistrer « dives.log » : fichier ou dossier introuvable" },
    };
    for (const auto &[path, message] : cases) {
        auto result = saveFileAtomically(path, std::string("data"));
        EXPECT_FALSE(result) << path;
        EXPECT_EQ(result.message(), message) << path;
    }
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(readFile(target / "inside"), "kept");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "dives.log" });
}

// A write that fails halfway (a full disk) must leave the old logbook intact.
// The file size limit stops root as well, unlike folder permissions.
TEST(SaveFileAtomically, FailedWriteLeavesTheOriginalByteForByte)
{
    TempDir dir;
    const fs::path target = dir / "dives.log";
    const std::string original("\x01\x02 the logbook as it was \xFE", 27);
    writeFile(target, original);

    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto *previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    auto result = saveFileAtomically(target, std::string(64 * 1024, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result);
    EXPECT_EQ(result.message(), "Impossible d'enregistrer « dives.log » : le fichier est trop grand pour le support");
    EXPECT_EQ(readFile(target), original);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string> { "dives.log" });
}

TEST(ReadWholeFile, ReadsWhatWasSavedWholeOrInPiecesAndRefusesWhatIsNotAReadableFile)
{
    TempDir dir;
    EXPECT_EQ(readWholeFile(dir / "missing.log").status(), zorv::common::Status::NotFound);
    const auto folder = readWholeFile(dir.path()); // a folder chosen where a file was meant
    EXPECT_FALSE(folder.ok());
    EXPECT_FALSE(folder.message().empty());

    std::string data;
    for (int i = 0; i < 200000; ++i)
        data.push_back(static_cast<char>(i * 7));
    ASSERT_TRUE(saveFileAtomically(dir / "big.dat", data));
    const auto read = readWholeFile(dir / "big.dat");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(*read, data);

    std::string joined;
    int pieces = 0;
    const auto collect = [&](std::span<const std::uint8_t> piece) {
        joined.append(reinterpret_cast<const char *>(piece.data()), piece.size());
        ++pieces;
    };
    ASSERT_TRUE(zorv::common::readFileInPieces(dir / "big.dat", collect));
    EXPECT_EQ(joined, data);
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(zorv::common::readFileInPieces(dir / "missing.dat", collect).status(), zorv::common::Status::NotFound);
}

TEST(ReadWholeFile, ReadsFilesThatReportNoSize)
{
    if (!fs::exists("/proc/self/status"))
        GTEST_SKIP() << "no /proc";
    const auto read = readWholeFile("/proc/self/status");
    ASSERT_TRUE(read.ok());
    EXPECT_NE(read->find("Name:"), std::string::npos);
}

} // namespace
