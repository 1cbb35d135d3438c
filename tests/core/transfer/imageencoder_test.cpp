#include "computers/computercatalogue.h"
#include "logbook/daynumber.h"
#include "logbook/generator.h"
#include "logbook/logbook.h"
#include "testutil.h"
#include "transfer/imageencoder.h"
#include "transfer/transferlist.h"
#include "transfertest.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <tuple>

using namespace zorv::transfer;
namespace computers = zorv::computers;
using zorv::common::FixedClock;
using zorv::logbook::DiveRecord;
using zorv::logbook::kMissing;
using zorv::logbook::Logbook;
using zorv::logbook::ProfileScript;
using zorv::transfer::test::loadedCount;
using zorv::transfer::test::PinnedClock;

namespace {

// 20 August 2023 20:00 UTC.
constexpr std::int64_t kNow = 1692561600;

ProfileScript profileOf(int samples, float depth)
{
    ProfileScript script;
    for (int k = 0; k < samples; ++k)
        script.depths.push_back(k == samples - 1 ? 0.0f : depth * static_cast<float>(k % 7 + 1) / 7.0f);
    script.warnings = { 0, 0, 1, 0, 0x20 };
    script.groups = { { 0, 6, 6 }, { 6, 3, 12 }, { 0, 0, 6 }, { 6, 9, 0 } };
    script.extraWord = 0x2311;
    script.header = { 20, 300, 1, 0, 0, 0, 0, 0 };
    return script;
}

auto profilePart(const DiveRecord &r)
{
    return std::tie(r.profileLength, r.profileFirstByte, r.profileHeader, r.profileExtra, r.profileBytes, r.sampleCount,
        r.samples, r.profileMaxDepth);
}

struct Family {
    std::uint8_t type;
    zorv::logbook::ProfileFamily layout;
};

class ImageRoundTrip : public ::testing::TestWithParam<Family> {
protected:
    void SetUp() override { m_book.setComputerInfo(&m_catalogue); }

    ImageScript script(int dives, int profiles) const
    {
        ImageScript s;
        s.settings.type = GetParam().type;
        s.settings.serialNumber = 0xABCDEF;
        s.settings.totalDives = 300;
        s.logbookIndex = 30;
        s.ringStart = 1400;
        for (int i = 0; i < dives; ++i) {
            ImageDive d;
            d.start = { 2023, 8, 1 + i / 2, i % 2 ? 15 : 9, 7 * i % 60, 0 };
            d.maxDepthCm = 800 + 97 * i;
            d.durationMinutes = i == 3 ? 100 : 20 + 5 * i;
            if (i % 2)
                d.surfaceIntervalMinutes = 300 + i;
            d.pressureDrop = static_cast<std::uint8_t>(i == 1 ? 0 : 60 + i);
            d.temperatureQuarters = static_cast<std::uint8_t>(70 + i);
            d.warnings = i == 2 ? 0x39 : 0;
            d.altitudeClass = 1 + i % 4;
            if (i >= dives - profiles)
                d.profile = profileOf(20 + 11 * i, 10.0f + static_cast<float>(i));
            s.dives.push_back(d);
        }
        return s;
    }

    PinnedClock m_pin { kNow };
    const FixedClock &m_clock = m_pin.clock;
    computers::ComputerCatalogue m_catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    Logbook m_book;
    MemoryImage m_memory;
};

} // namespace

TEST_P(ImageRoundTrip, DivesAndProfilesComeBack)
{
    const ImageScript s = script(9, 4);
    const EncodedImage encoded = encodeImage(s, &m_catalogue, m_clock);
    ASSERT_TRUE(encoded) << encoded.error;
    ASSERT_EQ(encoded.bytes.size(), 2050u);
    EXPECT_EQ(encoded.bytes[0], 0x55);
    ASSERT_EQ(loadedCount(m_memory, encoded.bytes), 9);
    EXPECT_EQ(m_memory.settings().serialNumber, 0xABCDEFu);
    EXPECT_EQ(m_memory.settings().totalDives, 300);

    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const ImageDive &want = s.dives[static_cast<std::size_t>(i)];
        ComputerDive got = m_memory.diveAt(i).value();
        EXPECT_EQ(got.date, zorv::logbook::dayNumber(want.start.day, want.start.month, want.start.year));
        EXPECT_EQ(got.timeOfDay, want.start.hour * 60 + want.start.minute);
        EXPECT_EQ(got.maxDepth, want.maxDepthCm);
        EXPECT_EQ(got.duration, want.durationMinutes);
        EXPECT_EQ(got.surfaceInterval, want.surfaceIntervalMinutes.value_or(kMissing));
        EXPECT_EQ(got.pressureDrop, image::pressureDrop(want.pressureDrop, want.pressureDrop ? s.settings.type : 0));
        EXPECT_EQ(got.waterTemperature, want.temperatureQuarters * 25);
        EXPECT_EQ(got.warnings, want.warnings);
        EXPECT_EQ(got.altitudeClass, want.altitudeClass);

        DiveRecord record = m_memory.toRecord(i, m_book).value();
        DiveRecord expected;
        zorv::logbook::encodeProfile(expected, want.profile, GetParam().layout);
        EXPECT_EQ(profilePart(record), profilePart(expected));
    }
}

TEST_P(ImageRoundTrip, RingsWrapAndYoungComputersKeepTheirOrder)
{
    // A young computer: six dives in its life, the profiles running over the ring's end.
    ImageScript s = script(6, 3);
    s.settings.totalDives = 6;
    s.logbookIndex = 2;
    s.ringStart = 1500;
    const EncodedImage encoded = encodeImage(s, &m_catalogue, m_clock);
    ASSERT_TRUE(encoded) << encoded.error;
    ASSERT_EQ(loadedCount(m_memory, encoded.bytes), 6);
    for (int i = 0; const auto got = m_memory.diveAt(i); ++i) {
        EXPECT_EQ(got->maxDepth, s.dives[static_cast<std::size_t>(i)].maxDepthCm);
        EXPECT_EQ(got->profile.byteCount != 0, i >= 3) << i;
    }

    // The logbook already has the first four: the last two are new, and convert in order.
    DiveRecord fourth = m_memory.toRecord(3, m_book).value();
    m_book.insertDive(fourth);
    const NewDives found = m_memory.searchNewDives(lastLogbookDive(m_book));
    EXPECT_EQ(found.first, 4);
    for (int p = found.first; p < m_memory.diveCount(); ++p)
        ASSERT_TRUE(m_memory.convert(p, m_book));
    ASSERT_EQ(m_book.diveCount(), 3);
    EXPECT_EQ(m_book.dive(3)->maxDepth, s.dives[5].maxDepthCm);
    EXPECT_EQ(m_book.dive(3)->diveNumber, 3);
}

INSTANTIATE_TEST_SUITE_P(Families, ImageRoundTrip,
    ::testing::Values(Family { 30, zorv::logbook::ProfileFamily::Plain },
        Family { 68, zorv::logbook::ProfileFamily::Plain }, Family { 244, zorv::logbook::ProfileFamily::Nitrox },
        Family { 164, zorv::logbook::ProfileFamily::O2 }, Family { 28, zorv::logbook::ProfileFamily::Plain }),
    [](const auto &info) { return std::to_string(info.param.type); });

TEST(ImageEncoder, RefusesWhatTheComputerCannotHold)
{
    const FixedClock clock(kNow);
    const computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    ImageDive dive;
    dive.start = { 2023, 8, 1, 9, 0, 0 };
    const auto encodes = [&](std::size_t dives, auto change) {
        ImageScript script;
        script.dives.assign(dives, dive);
        change(script);
        return static_cast<bool>(encodeImage(script, &catalogue, clock));
    };

    EXPECT_TRUE(encodes(1, [](ImageScript &) {}));
    EXPECT_FALSE(encodes(38, [](ImageScript &) {}));
    // A profile for an older dive but none for a newer one cannot be paired.
    EXPECT_FALSE(encodes(2, [](ImageScript &s) { s.dives[0].profile = profileOf(30, 12.0f); }));
    EXPECT_FALSE(encodes(4, [](ImageScript &s) {
        for (auto &d : s.dives)
            d.profile = profileOf(600, 30.0f);
    }));
    EXPECT_FALSE(encodes(1, [](ImageScript &s) {
        s.dives[0].profile = profileOf(30, 12.0f);
        s.dives[0].profile.header[3] = 0x01FF;
    }));
    EXPECT_FALSE(encodes(1, [](ImageScript &s) { s.clock = 1000; }));
}

// The example dumps shipped with the program, read at their transfer time. The command-line
// tool's tests decode each of them and compare the whole listing.
class ExampleDumps : public ::testing::Test {
protected:
    const PinnedClock m_pin { kExampleTransferTime };
    const computers::ComputerCatalogue catalogue = computers::ComputerCatalogue::withBuiltInTypes();
    MemoryImage memory;
};

// A stray 0x55 on the line starts the capture early, so the image arrives shifted
// behind noise. When the shifted checksum field happens to read 0 the check is off;
// even then no dive may be listed that the computer does not hold.
TEST_F(ExampleDumps, NoiseBeforeTheImageNeverListsAnInventedDive)
{
    std::mt19937 rng(55);
    int unchecked = 0;
    for (const ExampleDump &dump : exampleDumps(&catalogue)) {
        if (dump.fileName.starts_with("transfer-bad-"))
            continue;
        SCOPED_TRACE(dump.fileName);
        ASSERT_TRUE(memory.load(dump.bytes));
        ASSERT_GT(memory.diveCount(), 0);
        std::vector<ComputerDive> real;
        for (int p = 0; p < memory.diveCount(); ++p)
            real.push_back(*memory.diveAt(p));

        for (int shift = 1; shift <= 400; ++shift) {
            for (const bool zeros : { false, true }) {
                std::vector<std::uint8_t> capture { 0x55 };
                for (int i = 1; i < shift; ++i)
                    capture.push_back(zeros ? 0 : static_cast<std::uint8_t>(rng()));
                capture.insert(capture.end(), dump.bytes.begin(), dump.bytes.end());
                capture.resize(dump.bytes.size());
                unchecked += capture[2048] == 0 && capture[2049] == 0;
                if (!memory.load(capture))
                    continue;
                for (int p = 0; p < memory.diveCount(); ++p) {
                    const ComputerDive dive = *memory.diveAt(p);
                    const bool known = std::any_of(real.begin(), real.end(), [&](const ComputerDive &r) {
                        return r.clockAtDive == dive.clockAtDive && r.maxDepth == dive.maxDepth
                            && r.duration == dive.duration && r.date == dive.date;
                    });
                    EXPECT_TRUE(known) << "shift " << shift << (zeros ? " zeros" : " noise") << ", dive " << p << ": "
                                       << dive.maxDepth << " cm, " << dive.duration << " min";
                }
            }
        }
    }
    // The sweep must meet the case it is about.
    EXPECT_GT(unchecked, 0);
}

// A nearly full logbook takes what fits and says how many dives did not.
using AcceptNewDives = ExampleDumps;

TEST_F(AcceptNewDives, CountsTheDivesThatDidNotFit)
{
    const auto dumps = exampleDumps(&catalogue);
    ASSERT_TRUE(memory.load(dumps.front().bytes));
    ASSERT_GT(memory.diveCount(), 3);

    Logbook logbook;
    logbook.setComputerInfo(&catalogue);
    zorv::logbook::generateLogbook(logbook, { .dives = 32765 });
    const AcceptedDives accepted = acceptNewDives(memory, { 0, true }, logbook);
    EXPECT_EQ(accepted.added, 2);
    EXPECT_EQ(accepted.notFitted, memory.diveCount() - 2);
    EXPECT_EQ(logbook.diveCount(), 32767);
    const std::string message = notFittedMessage(accepted);
    EXPECT_NE(
        message.find(std::to_string(accepted.notFitted) + " plongées n'ont pas pu être ajoutées"), std::string::npos)
        << message;
    EXPECT_EQ(notFittedMessage({ 3, 0 }), "");
}
