#include "common/atomicfile.h"
#include "common/bytes.h"
#include "logbook/generator.h"
#include "logbook/logbookfile.h"
#include "logbook/profileencoder.h"
#include "testutil.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace zorv::logbook {
namespace {

    namespace fs = std::filesystem;
    using Bytes = std::vector<std::uint8_t>;

    constexpr std::uint8_t kPlainType = 10;
    constexpr std::uint8_t kNitroxType = 20;
    constexpr std::uint8_t kO2Type = 30;

    class FakeComputers : public ComputerInfo {
    public:
        bool isNitrox(std::uint8_t typeId) const override { return typeId == kNitroxType; }
        bool isO2(std::uint8_t typeId) const override { return typeId == kO2Type; }
        std::string displayName(std::uint8_t) const override { return {}; }
    };

    const FakeComputers kComputers;

    using test::writeBytes;
    const auto bytesOf = test::readBytes;

    // A record as the tests write it by hand, independent of the writer under test.
    struct RawRecord {
        std::string place = "Elba";
        std::string site = "Capo";
        std::string comment;
        std::int16_t number = 1;
        std::uint8_t type = 0;
        std::uint16_t profileLength = 0;
        Bytes profile; // written as given after profileLength
    };

    Bytes logFile(
        const std::vector<RawRecord> &records, std::optional<std::int16_t> count = {}, std::uint16_t version = 161)
    {
        Bytes out;
        common::ByteWriter w(out);
        w.u16(version);
        w.u32(0);
        w.i16(count.value_or(static_cast<std::int16_t>(records.size())));
        w.u16(100);
        w.u16(20);
        auto shortString = [&w](const std::string &s) {
            w.u8(static_cast<std::uint8_t>(s.size()));
            w.bytes(reinterpret_cast<const std::uint8_t *>(s.data()), s.size());
        };
        for (const RawRecord &r : records) {
            w.u16(160);
            w.u32(150000);
            w.i16(600);
            shortString(r.place);
            shortString(r.site);
            w.u8(1); // altitude class
            w.i16(kMissing); // surface interval
            w.u8(0); // weather
            w.i16(kMissing); // air temperature
            w.u8(0); // suit
            for (int i = 0; i < 5; ++i) // tank, max depth, duration, water temperature, air used
                w.i16(kMissing);
            w.u16(0);
            w.u16(0);
            shortString("");
            shortString("");
            shortString(r.comment);
            w.u16(0);
            w.i16(r.number);
            w.u32(0);
            w.u8(r.type);
            w.u8(0);
            w.zeros(6);
            w.u16(r.profileLength);
            w.bytes(r.profile.data(), r.profile.size());
        }
        return out;
    }

    class LogbookFileTest : public testing::Test {
    protected:
        LogbookFileTest() { m_logbook.setComputerInfo(&kComputers); }

        common::Result loadFixture()
        {
            return LogbookFile::load(m_logbook, bytesOf(test::fixture("logbook-sample.log")),
                bytesOf(test::fixture("logbook-sample.add")), test::fixture("logbook-sample.log").string());
        }

        // Copies the sample file set into the scratch folder and loads it from there.
        fs::path loadFixtureCopy()
        {
            const fs::path log = m_dir / "sample.log";
            fs::copy_file(test::fixture("logbook-sample.log"), log);
            fs::copy_file(test::fixture("logbook-sample.add"), m_dir / "sample.add");
            EXPECT_TRUE(LogbookFile::loadFromPath(m_logbook, log.string()));
            return log;
        }

        // The logbook read back from `path`, as another window would open it.
        const Logbook &reread(const fs::path &path)
        {
            m_reread.setComputerInfo(&kComputers);
            EXPECT_TRUE(LogbookFile::loadFromPath(m_reread, path.string())) << path;
            return m_reread;
        }

        void expectRejected(const common::Result &result)
        {
            EXPECT_EQ(result.status(), common::Status::BadFormat);
            EXPECT_EQ(result.message(), "Mauvais format");
            EXPECT_EQ(m_logbook.diveCount(), 0);
            EXPECT_EQ(m_logbook.currentDive(), 0);
            EXPECT_EQ(m_logbook.path(), "");
            EXPECT_EQ(m_logbook.addPath(), "");
            EXPECT_EQ(m_logbook.infPath(), "");
        }

        Logbook m_logbook;
        Logbook m_reread;
        test::TempDir m_dir;
    };

    TEST_F(LogbookFileTest, ReadsTheSampleFileSet)
    {
        ASSERT_TRUE(loadFixture());
        ASSERT_EQ(m_logbook.diveCount(), 4);
        EXPECT_EQ(m_logbook.currentDive(), 4);
        EXPECT_EQ(m_logbook.firstDiveNumber(), 41);
        EXPECT_EQ(m_logbook.headerLong(), 0x00ABCDEFu);
        EXPECT_EQ(m_logbook.headerWordA(), 104);
        EXPECT_EQ(m_logbook.totalMinutes(), 4 * 47);
        EXPECT_FALSE(m_logbook.isModified());
        EXPECT_EQ(m_logbook.addPath(), test::fixture("logbook-sample.add").string());

        const DiveRecord &first = *m_logbook.dive(1);
        EXPECT_EQ(fixedText(first.place), "Z\x81rich");
        EXPECT_EQ(fixedText(first.partners), "Anna, Bob + Carl & Dora");
        EXPECT_EQ(fixedText(first.comment), std::string(255, 'x'));
        EXPECT_EQ(fixedText(first.extra.commentMore), std::string(40, 'y'));
        EXPECT_EQ(first.minWaterTemperature, 1850);
        EXPECT_EQ(first.computerReserved, (std::array<std::uint8_t, 6> { 0, 9, 0, 0, 7, 0 }));
        EXPECT_EQ(first.sampleCount, 0);

        // Plain computer: the stream starts after a five-byte preamble; the loop bound
        // lets two surface samples follow the last group.
        const DiveRecord &plain = *m_logbook.dive(2);
        EXPECT_EQ(plain.profileLength, 36);
        EXPECT_EQ(plain.profileFirstByte, 0x11);
        EXPECT_EQ(plain.profileHeader[7], 7);
        ASSERT_EQ(plain.sampleCount, 9);
        const float plainDepths[] = { -1.3f, -3.125f, -6.25f, -9.84375f, -9.375f, -4.6875f, -1.25f, 0.0f, 0.0f };
        for (int i = 0; i < 9; ++i)
            EXPECT_FLOAT_EQ(plain.samples[static_cast<std::size_t>(i)].depth, plainDepths[i]) << i;
        EXPECT_EQ(plain.samples[3].markers, (std::array<std::uint8_t, 4> { 0x21, 6, 6, 12 }));
        EXPECT_EQ(plain.profileMaxDepth, 9.84375f);
        EXPECT_FLOAT_EQ(plain.avgDepth, 12.34f);
        EXPECT_EQ(fixedText(plain.extra.model), "Semi 7mm");
        EXPECT_EQ(plain.extra.extraFlags, 0x0101);
        EXPECT_NE(plain.airConsumption, 0.0f);

        const DiveRecord &nitrox = *m_logbook.dive(3);
        EXPECT_EQ(nitrox.profileExtra, 0x1234);
        ASSERT_EQ(nitrox.sampleCount, 7);
        EXPECT_EQ(nitrox.samples[3].depth, -7.5f);
        EXPECT_EQ(fixedText(nitrox.extra.model), "ABCDEFGHIJKLMNOPQRSTUVWXY");

        // O2 computer: six-byte preamble and a spare byte (0x77) after the group.
        const DiveRecord &o2 = *m_logbook.dive(4);
        EXPECT_EQ(o2.profileExtra, 0x0102);
        ASSERT_EQ(o2.sampleCount, 7);
        EXPECT_EQ(o2.samples[3].depth, -5.625f);
        EXPECT_EQ(o2.samples[4].depth, 0.0f);
        EXPECT_EQ(o2.samples[3].markers[3], 6);
        EXPECT_FLOAT_EQ(o2.avgDepth, 7.05f);
        ASSERT_GT(o2.extra.reserved.size(), 19u);
        EXPECT_EQ(o2.extra.reserved[19], 10);
    }

    class LogbookFileModes : public LogbookFileTest, public testing::WithParamInterface<Mode> { };

    TEST_P(LogbookFileModes, SaveWritesBackWhatWasRead)
    {
        m_logbook.setMode(GetParam());
        ASSERT_TRUE(loadFixture());
        const fs::path target = m_dir / "copy.log";
        ASSERT_TRUE(LogbookFile::save(m_logbook, target.string()));

        EXPECT_EQ(bytesOf(target), bytesOf(test::fixture("logbook-sample.log")));
        if (GetParam() == Mode::Advanced)
            EXPECT_EQ(bytesOf(m_dir / "copy.add"), bytesOf(test::fixture("logbook-sample.add")));
        else
            EXPECT_FALSE(fs::exists(m_dir / "copy.add"));
        EXPECT_EQ(m_logbook.path(), target.string());
        EXPECT_EQ(m_logbook.addPath(), (m_dir / "copy.add").string());
    }

    TEST_P(LogbookFileModes, TextsLongerThanAStoredStringTravelInTheAddFile)
    {
        m_logbook.setMode(GetParam());
        DiveRecord dive;
        dive.diveNumber = 1;
        const std::string comment(300, 'c');
        setFixedText(dive.comment, std::string_view(comment).substr(0, 255));
        setFixedText(dive.extra.commentMore, std::string_view(comment).substr(255));
        dive.avgDepth = 12.347f;
        ASSERT_TRUE(m_logbook.insertDive(dive));
        const fs::path target = m_dir / "long.log";
        ASSERT_TRUE(LogbookFile::save(m_logbook, target.string()));

        const DiveRecord &back = *reread(target).dive(1);
        EXPECT_EQ(fixedText(back.comment), comment.substr(0, 255));
        if (GetParam() == Mode::Advanced) {
            EXPECT_EQ(std::string(fixedText(back.comment)).append(fixedText(back.extra.commentMore)), comment);
            EXPECT_FLOAT_EQ(back.avgDepth, 12.34f);
        } else {
            EXPECT_EQ(fixedText(back.extra.commentMore), "");
            EXPECT_EQ(back.avgDepth, 0.0f);
        }
    }

    INSTANTIATE_TEST_SUITE_P(Modes, LogbookFileModes, testing::Values(Mode::Standard, Mode::Advanced));

    TEST_F(LogbookFileTest, AverageDepthSurvivesRepeatedSaves)
    {
        // A centimetre value that does not come back as itself would lose a
        // centimetre on every save. All small values, then a spread of large ones.
        std::vector<std::int16_t> values;
        for (int cm = 1; cm <= 32767; cm += cm < 4096 ? 1 : 7)
            values.push_back(static_cast<std::int16_t>(cm));
        values.push_back(32767);

        Bytes add;
        common::ByteWriter w(add);
        w.u32(594);
        w.u32(110);
        w.u32(static_cast<std::uint32_t>(values.size()));
        for (std::int16_t cm : values) {
            ExtraBlock block;
            block.avgDepthCm = cm;
            std::array<std::uint8_t, ExtraBlock::kSize> image;
            block.serialize(image.data());
            w.bytes(image.data(), image.size());
            w.zeros(300);
        }
        ASSERT_TRUE(LogbookFile::load(m_logbook, logFile(std::vector<RawRecord>(values.size())), add, "depths.log"));
        EXPECT_FLOAT_EQ(m_logbook.dive(53)->avgDepth, 0.53f);
        EXPECT_EQ(LogbookFile::addBytes(m_logbook), add);
    }

    TEST_F(LogbookFileTest, OverlongTextIsCutAndTheRestStillFoundAndAnEmptyFileLoads)
    {
        RawRecord overlong;
        overlong.place = std::string(60, 'p') + "0123456789";
        overlong.site = "after";
        overlong.number = 77;
        ASSERT_TRUE(LogbookFile::load(m_logbook, logFile({ overlong, RawRecord {} }), {}, "x.log"));
        ASSERT_EQ(m_logbook.diveCount(), 2);
        EXPECT_EQ(fixedText(m_logbook.dive(1)->place), std::string(60, 'p'));
        EXPECT_EQ(fixedText(m_logbook.dive(1)->site), "after");
        EXPECT_EQ(m_logbook.dive(1)->diveNumber, 77);
        EXPECT_EQ(fixedText(m_logbook.dive(2)->place), "Elba");

        const fs::path empty = m_dir / "empty.log";
        ASSERT_TRUE(LogbookFile::load(m_logbook, logFile({}), {}, empty.string()));
        EXPECT_EQ(m_logbook.diveCount(), 0);
        EXPECT_EQ(m_logbook.currentDive(), 0);
        EXPECT_EQ(m_logbook.infPath(), (m_dir / "empty.inf").string());
    }

    // The reserved .add trailer belongs to the file it was read from: a logbook read
    // afterwards without an .add file must not write the earlier one's bytes.
    TEST_F(LogbookFileTest, TrailerOfAnEarlierFileIsNotCarriedIntoTheNext)
    {
        ASSERT_TRUE(loadFixture());
        const Bytes first = LogbookFile::addBytes(m_logbook);
        ASSERT_NE(first[12 + ExtraBlock::kSize], 0);
        ASSERT_TRUE(LogbookFile::load(m_logbook, logFile({ RawRecord {} }), {}, "next.log"));
        const Bytes next = LogbookFile::addBytes(m_logbook);
        EXPECT_EQ(Bytes(next.begin() + 12 + ExtraBlock::kSize, next.end()), Bytes(300, 0));
    }

    TEST_F(LogbookFileTest, ProfileWithoutRawBytesKeepsItsHeader)
    {
        RawRecord bare;
        bare.type = 99;
        bare.profileLength = 17;
        bare.profile = { 0x42, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0 };
        const Bytes log = logFile({ bare });
        ASSERT_TRUE(LogbookFile::load(m_logbook, log, {}, "x.log"));
        const DiveRecord &dive = *m_logbook.dive(1);
        EXPECT_EQ(dive.profileFirstByte, 0x42);
        EXPECT_EQ(dive.profileHeader, (std::array<std::uint16_t, 8> { 1, 2, 3, 4, 5, 6, 7, 8 }));
        EXPECT_EQ(dive.sampleCount, 1);
        EXPECT_EQ(LogbookFile::logBytes(m_logbook), log);
    }

    TEST_F(LogbookFileTest, StandardSaveLeavesTheAddFileAlone)
    {
        const fs::path log = loadFixtureCopy();
        const Bytes add = bytesOf(m_dir / "sample.add");
        m_logbook.setMode(Mode::Standard);
        m_logbook.deleteDive(2);
        ASSERT_TRUE(LogbookFile::save(m_logbook, log.string()));
        EXPECT_EQ(bytesOf(m_dir / "sample.add"), add);
        EXPECT_FALSE(m_logbook.isModified());
        EXPECT_EQ(reread(log).diveCount(), 3);
    }

    TEST_F(LogbookFileTest, EncodedProfilesOfEveryFamilyRoundTrip)
    {
        m_logbook.setMode(Mode::Advanced);
        const std::uint8_t types[] = { kPlainType, kNitroxType, kO2Type };
        const ProfileFamily families[] = { ProfileFamily::Plain, ProfileFamily::Nitrox, ProfileFamily::O2 };
        for (int i = 0; i < 3; ++i) {
            DiveRecord dive;
            dive.date = 150000u + static_cast<std::uint32_t>(i);
            dive.computerType = types[i];
            ProfileScript script;
            for (int s = 0; s < 100; ++s)
                script.depths.push_back(static_cast<float>(s % 30) * 1.1f);
            script.groups = { { 6, 9, 12 }, { 0, 21, 42 } };
            script.extraWord = 0x0405;
            encodeProfile(dive, script, families[i]);
            ASSERT_TRUE(m_logbook.insertDive(dive));
        }
        const fs::path target = m_dir / "families.log";
        ASSERT_TRUE(LogbookFile::save(m_logbook, target.string()));
        const Logbook &reloaded = reread(target);
        ASSERT_EQ(reloaded.diveCount(), 3);
        for (int p = 1; p <= 3; ++p) {
            const DiveRecord &a = *m_logbook.dive(p);
            const DiveRecord &b = *reloaded.dive(p);
            EXPECT_EQ(b.profileLength, a.profileLength);
            EXPECT_EQ(b.profileExtra, a.profileExtra);
            EXPECT_EQ(b.sampleCount, a.sampleCount);
            EXPECT_EQ(b.samples, a.samples);
            // Both hold the stream without trailing zeros, so equal records compare equal.
            EXPECT_EQ(b.profileBytes, a.profileBytes);
        }
    }

    TEST_F(LogbookFileTest, LargeFileSetIsReadInPiecesAsWhenReadWhole)
    {
        // Several read pieces of each file, so that records and .add entries straddle their ends.
        m_logbook.setMode(Mode::Advanced);
        generateLogbook(m_logbook, { 400, 7, 2019 });
        const fs::path log = m_dir / "large.log";
        ASSERT_TRUE(LogbookFile::save(m_logbook, log.string()));
        ASSERT_GT(fs::file_size(log), 2u * 65536);
        Bytes junk = bytesOf(log);
        junk.insert(junk.end(), { 1, 2, 3 }); // bytes past the counted dives
        ASSERT_TRUE(common::saveFileAtomically(log, junk));

        const Logbook &fromPath = reread(log);
        Logbook whole;
        whole.setComputerInfo(&kComputers);
        ASSERT_TRUE(LogbookFile::load(whole, junk, bytesOf(m_dir / "large.add"), log.string()));
        ASSERT_EQ(fromPath.diveCount(), 400);
        for (int p = 1; p <= 400; ++p)
            ASSERT_EQ(*fromPath.dive(p), *whole.dive(p)) << p;
        EXPECT_EQ(LogbookFile::logBytes(fromPath), LogbookFile::logBytes(m_logbook));
        EXPECT_EQ(LogbookFile::addBytes(fromPath), LogbookFile::addBytes(m_logbook));
        EXPECT_FALSE(LogbookFile::loadNotice(log.string()).empty());
    }

    // ---- refusals ----

    // The longest profiles each family holds load and save back whole; one byte more, or
    // a header that does not fit its record, refuses the file.
    TEST_F(LogbookFileTest, RefusesBadHeadersAndProfileLengthsAndTakesTheLongest)
    {
        RawRecord plain;
        plain.type = kPlainType;
        RawRecord nitrox;
        nitrox.type = kNitroxType;
        auto withLength = [](RawRecord r, std::uint16_t length) {
            r.profileLength = length;
            r.profile.assign(std::min<std::size_t>(length, 1700), 0);
            return r;
        };
        const Bytes longest = logFile({ withLength(plain, 17 + 1600), withLength(nitrox, 19 + 1600) });
        ASSERT_TRUE(LogbookFile::load(m_logbook, longest, {}, "x.log"));
        EXPECT_EQ(LogbookFile::logBytes(m_logbook), longest);

        const std::vector<std::pair<const char *, Bytes>> cases {
            { "wrong version", logFile({ plain }, {}, 160) },
            { "negative count", logFile({ plain }, -1) },
            { "cut header", Bytes { 0xA1, 0x00, 0x00 } },
            { "length 1", logFile({ withLength(plain, 1) }) },
            { "length 16", logFile({ withLength(plain, 16) }) },
            { "length 17 with extra word", logFile({ withLength(nitrox, 17) }) },
            { "length 18 with extra word", logFile({ withLength(nitrox, 18) }) },
            { "raw part over 1600", logFile({ withLength(plain, 17 + 1601) }) },
            { "raw part over 1600 with extra word", logFile({ withLength(nitrox, 19 + 1601) }) },
            { "count beyond the records", logFile({ plain }, 2) },
        };
        for (const auto &[name, bytes] : cases) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(loadFixture());
            expectRejected(LogbookFile::load(m_logbook, bytes, {}, "user.log"));
        }
    }

    TEST_F(LogbookFileTest, LoadsAndSavesTheMostDivesTheHeaderCanCount)
    {
        RawRecord plain;
        plain.type = kPlainType;
        const Bytes full = logFile(std::vector<RawRecord>(static_cast<std::size_t>(Logbook::kMaxDives), plain));
        m_logbook.setMode(Mode::Standard);
        ASSERT_TRUE(LogbookFile::load(m_logbook, full, {}, (m_dir / "full.log").string()));
        EXPECT_EQ(m_logbook.diveCount(), Logbook::kMaxDives);
        EXPECT_FALSE(m_logbook.insertDive(DiveRecord {}));

        const fs::path target = m_dir / "copy.log";
        ASSERT_TRUE(LogbookFile::save(m_logbook, target.string()));
        Logbook reread;
        reread.setMode(Mode::Standard);
        ASSERT_TRUE(LogbookFile::loadFromPath(reread, target.string()));
        EXPECT_EQ(reread.diveCount(), Logbook::kMaxDives);
    }

    TEST_F(LogbookFileTest, RefusesEveryTruncation)
    {
        const Bytes whole = bytesOf(test::fixture("logbook-sample.log"));
        for (std::size_t size = 0; size < whole.size(); ++size) {
            SCOPED_TRACE(size);
            ASSERT_TRUE(loadFixture());
            expectRejected(LogbookFile::load(
                m_logbook, Bytes(whole.begin(), whole.begin() + static_cast<long>(size)), {}, "user.log"));
        }
    }

    TEST_F(LogbookFileTest, RefusedFileCannotBeOverwrittenLater)
    {
        const fs::path log = m_dir / "user.log";
        const Bytes bad = logFile({ RawRecord {} }, {}, 160);
        writeBytes(log, bad);
        expectRejected(LogbookFile::loadFromPath(m_logbook, log.string()));
        EXPECT_EQ(LogbookFile::save(m_logbook, m_logbook.path()).status(), common::Status::IoError);
        EXPECT_EQ(bytesOf(log), bad);
    }

    TEST_F(LogbookFileTest, ShortAddFileLeavesLaterDivesBlank)
    {
        Bytes add = bytesOf(test::fixture("logbook-sample.add"));
        add.resize(12 + 850 + 549);
        ASSERT_TRUE(LogbookFile::load(m_logbook, bytesOf(test::fixture("logbook-sample.log")), add, "x.log"));
        EXPECT_EQ(fixedText(m_logbook.dive(1)->extra.commentMore), std::string(40, 'y'));
        EXPECT_EQ(m_logbook.dive(2)->extra, ExtraBlock {});
        EXPECT_EQ(m_logbook.dive(2)->avgDepth, 0.0f);
    }

    // ---- the files on disk ----

    TEST_F(LogbookFileTest, MissingOrUnreadableFilesChangeNothing)
    {
        ASSERT_TRUE(loadFixture());
        EXPECT_EQ(
            LogbookFile::loadFromPath(m_logbook, (m_dir / "none.log").string()).status(), common::Status::NotFound);
        fs::create_directory(m_dir / "folder.log");
        EXPECT_EQ(
            LogbookFile::loadFromPath(m_logbook, (m_dir / "folder.log").string()).status(), common::Status::IoError);

        // Loading without the .add entries would let the next save blank them.
        fs::copy_file(test::fixture("logbook-sample.log"), m_dir / "sample.log");
        fs::create_directory(m_dir / "sample.add");
        EXPECT_EQ(
            LogbookFile::loadFromPath(m_logbook, (m_dir / "sample.log").string()).status(), common::Status::IoError);
        EXPECT_EQ(m_logbook.diveCount(), 4);
        EXPECT_EQ(m_logbook.path(), test::fixture("logbook-sample.log").string());
    }

    TEST_F(LogbookFileTest, FailedSaveIntoReadOnlyFolderKeepsTheFile)
    {
        if (geteuid() == 0)
            GTEST_SKIP() << "root writes into read-only folders";
        const fs::path log = loadFixtureCopy();
        m_logbook.deleteDive(1);
        fs::permissions(m_dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        const common::Result result = LogbookFile::save(m_logbook, log.string());
        fs::permissions(m_dir.path(), fs::perms::owner_all);
        EXPECT_EQ(result.status(), common::Status::AccessDenied);
        EXPECT_FALSE(result.message().empty());
        EXPECT_TRUE(m_logbook.isModified());
        EXPECT_EQ(bytesOf(log), bytesOf(test::fixture("logbook-sample.log")));
        EXPECT_EQ(bytesOf(m_dir / "sample.add"), bytesOf(test::fixture("logbook-sample.add")));
    }

    TEST_F(LogbookFileTest, FailedAddWriteLeavesTheOldPair)
    {
        // A folder in the way of the .add file makes its write fail after the .log was replaced.
        m_logbook.setMode(Mode::Advanced);
        ASSERT_TRUE(loadFixture());
        const fs::path log = m_dir / "user.log";
        const Bytes oldLog = logFile({ RawRecord {} });
        writeBytes(log, oldLog);
        fs::create_directory(m_dir / "user.add");
        m_logbook.deleteDive(1);

        const common::Result result = LogbookFile::save(m_logbook, log.string());
        EXPECT_EQ(result.status(), common::Status::IoError);
        EXPECT_FALSE(result.message().empty());
        EXPECT_EQ(bytesOf(log), oldLog);
        EXPECT_TRUE(m_logbook.isModified());
        EXPECT_EQ(m_logbook.path(), test::fixture("logbook-sample.log").string());

        fs::create_directory(m_dir / "fresh.add");
        EXPECT_FALSE(LogbookFile::save(m_logbook, (m_dir / "fresh.log").string()));
        EXPECT_FALSE(fs::exists(m_dir / "fresh.log"));
    }

    TEST_F(LogbookFileTest, SelectionBecomesANewLogbook)
    {
        m_logbook.setMode(Mode::Advanced);
        ASSERT_TRUE(loadFixture());
        const fs::path target = m_dir / "picked.log";
        ASSERT_TRUE(LogbookFile::saveSelection(
            m_logbook, target.string(), [](int position) { return position == 2 || position == 4; }));
        EXPECT_EQ(m_logbook.path(), test::fixture("logbook-sample.log").string());

        const Logbook &picked = reread(target);
        ASSERT_EQ(picked.diveCount(), 2);
        EXPECT_EQ(picked.headerLong(), 0u);
        EXPECT_EQ(picked.headerWordA(), 22);
        EXPECT_EQ(picked.headerWordB(), 20);
        EXPECT_EQ(picked.dive(1)->diveNumber, 42);
        EXPECT_EQ(picked.dive(2)->diveNumber, 44);
        EXPECT_EQ(fixedText(picked.dive(1)->extra.model), "Semi 7mm");
        EXPECT_EQ(picked.dive(2)->samples, m_logbook.dive(4)->samples);
        EXPECT_EQ(bytesOf(m_dir / "picked.add").size(), 12u + 2 * 850);
    }

    TEST_F(LogbookFileTest, ReloadReadsTheFileAgain)
    {
        const fs::path log = loadFixtureCopy();
        m_logbook.deleteDive(1);
        ASSERT_TRUE(LogbookFile::reload(m_logbook));
        EXPECT_EQ(m_logbook.diveCount(), 4);
        EXPECT_FALSE(m_logbook.isModified());

        test::writeFile(log, "junk");
        expectRejected(LogbookFile::reload(m_logbook));
    }

} // namespace
} // namespace zorv::logbook
