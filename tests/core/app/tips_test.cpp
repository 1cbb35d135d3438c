#include "app/tips.h"
#include "common/strings.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace zorv::app {

using common::StringId;
namespace {

    using settings::TipState;

    std::vector<std::string> readTips(TipReader &reader, int count)
    {
        std::vector<std::string> tips;
        for (int i = 0; i < count; ++i)
            tips.push_back(reader.next().value_or("<none>"));
        return tips;
    }

    TEST(TipReader, SkipsCommentsAndBlankLinesAndWrapsAround)
    {
        TipState state { 0, 0, "100" };
        TipReader reader("; comment\nfirst\r\n\n  indented\n\tTabbed\nsecond\nthird", "100", state);
        EXPECT_EQ(readTips(reader, 4), (std::vector<std::string> { "first", "second", "third", "first" }));
    }

    TEST(TipReader, ContinuesWhereTheLastRunStoppedUnlessTheFileChanged)
    {
        const std::string file = "one\ntwo\nthree\n";
        TipState state { 0, 0, "100" };
        TipReader first(file, "100", state);
        ASSERT_EQ(first.next(), "one");
        state.filePos = first.position();

        TipReader again(file, "100", state);
        EXPECT_EQ(again.next(), "two");

        TipReader changed(file, "200", state);
        EXPECT_EQ(state.timeStamp, "200");
        EXPECT_EQ(state.filePos, 0);
        EXPECT_EQ(changed.next(), "one");
    }

    TEST(TipReader, OddFilesNeitherHangNorFail)
    {
        TipState state { 0, 0, "1" };
        TipReader onlyComments("; a\n  b\n\n", "1", state);
        EXPECT_EQ(onlyComments.next(), std::nullopt);
        TipReader empty("", "1", state);
        EXPECT_EQ(empty.next(), std::nullopt);

        state.filePos = 5000;
        TipReader beyondEnd("tip\n", "1", state);
        EXPECT_EQ(beyondEnd.next(), "tip");
        state.filePos = -3;
        TipReader negative("tip\n", "1", state);
        EXPECT_EQ(negative.next(), "tip");

        TipReader longLine(std::string(1500, 'x') + "\nshort\n", "2", state);
        EXPECT_EQ(longLine.next()->size(), 999u);
        EXPECT_EQ(longLine.next(), "short") << "the rest of a long line is not a tip of its own";

        TipReader latin1("caf\xE9\n", "3", state);
        EXPECT_EQ(latin1.next(), "café");
    }

    TEST(TipOfTheDay, ReadsTheFileAndRemembersThePosition)
    {
        test::TempDir dir;
        TipState state;
        TipOfTheDay missing = readTipOfTheDay(dir / "tips.txt", state);
        EXPECT_FALSE(missing.found);
        EXPECT_EQ(missing.text, common::str(StringId::TipsFileMissing));

        test::writeFile(dir / "tips.txt", "Plongez.\nSauvegardez.\n");
        TipOfTheDay tip = readTipOfTheDay(dir / "tips.txt", state);
        EXPECT_TRUE(tip.found);
        EXPECT_EQ(tip.text, "Plongez.");
        EXPECT_EQ(state.filePos, 9);
        EXPECT_EQ(state.timeStamp, fileTimeStamp(dir / "tips.txt"));
        EXPECT_EQ(readTipOfTheDay(dir / "tips.txt", state).text, "Sauvegardez.");

        test::writeFile(dir / "tips.txt", "; nothing\n");
        state.timeStamp.clear();
        EXPECT_EQ(readTipOfTheDay(dir / "tips.txt", state).text, common::str(StringId::TipsFileUnreadable));
    }

    // Which file the dialog reads: the language's own beside the program, then in share/zorv, else tips.txt.
    TEST(TipOfTheDay, TheLanguagesOwnFileComesFirst)
    {
        test::TempDir root;
        const std::filesystem::path bin = root / "bin";
        const std::filesystem::path share = root / "share" / "zorv";
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(share);
        EXPECT_EQ(tipsFileFor(bin, "en"), bin / "tips.txt") << "nothing anywhere: the dialog names the file beside";
        test::writeFile(share / "tips.txt", "Plongez.\n");
        test::writeFile(share / "tips.en.txt", "Dive.\n");
        EXPECT_EQ(tipsFileFor(bin, "en"), share / "tips.en.txt");
        EXPECT_EQ(tipsFileFor(bin, "fr"), share / "tips.txt");
        EXPECT_EQ(tipsFileFor(bin, "de"), share / "tips.txt") << "a language without tips reads the French";
        test::writeFile(bin / "tips.txt", "Plongez.\n");
        EXPECT_EQ(tipsFileFor(bin, "en"), bin / "tips.txt") << "the file beside the program wins, as a build tree's";
        test::writeFile(bin / "tips.en.txt", "Dive.\n");
        EXPECT_EQ(tipsFileFor(bin, "en"), bin / "tips.en.txt");
    }

} // namespace
} // namespace zorv::app
