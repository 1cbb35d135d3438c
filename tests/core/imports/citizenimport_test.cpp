#include "imports/citizenimport.h"
#include "logbook/daynumber.h"
#include "logbook/oemcharmap.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace zorv::imports;
using zorv::logbook::DiveRecord;
using zorv::logbook::fixedText;

namespace {

// A .wgm file of blanks with the given fields written in at their offsets.
class Wgm {
public:
    explicit Wgm(const std::vector<int> &depths = {})
        : m_bytes(493 + 4 * depths.size(), ' ')
    {
        m_bytes[0] = 'M';
        put(2, "2004,08,14");
        put(300, "10,05");
        put(309, "10,47");
        put(485, std::to_string(depths.size()));
        for (std::size_t i = 0; i < depths.size(); ++i)
            put(493 + 4 * i, std::to_string(depths[i]));
    }
    Wgm &put(std::size_t offset, const std::string &text)
    {
        m_bytes.replace(offset, text.size(), text);
        return *this;
    }
    zorv::common::ResultOr<ImportedDive> read(SourceUnits units = SourceUnits::Metric) const
    {
        ImportSettings settings;
        settings.units = units;
        return importer(Format::Citizen)
            .read({ reinterpret_cast<const std::uint8_t *>(m_bytes.data()), m_bytes.size() }, settings);
    }
    DiveRecord record(SourceUnits units = SourceUnits::Metric) const
    {
        auto result = read(units);
        EXPECT_TRUE(result.ok()) << result.message();
        return result.ok() ? result->record : DiveRecord {};
    }

private:
    std::string m_bytes;
};

TEST(CitizenImport, ExampleFileGivesTheWholeDive)
{
    ImportSettings settings;
    settings.computerType = 178;
    const auto result = importFile(importer(Format::Citizen),
        (std::filesystem::path(ZORV_SOURCE_DIR) / "examples" / "imports" / "citizen-dive.wgm").string(), settings);
    ASSERT_TRUE(result.ok()) << result.message();
    const DiveRecord &r = result->record;
    EXPECT_EQ(r.date, zorv::logbook::dayNumber(14, 8, 2004));
    EXPECT_EQ(r.entryTime, 23 * 60 + 50);
    EXPECT_EQ(r.duration, 40);
    EXPECT_EQ(r.surfaceInterval, 135);
    EXPECT_EQ(r.airTemperature, 2450);
    EXPECT_EQ(r.maxDepth, 1600);
    EXPECT_EQ(r.minWaterTemperature, 1980);
    EXPECT_EQ(r.weather, 1);
    EXPECT_EQ(fixedText(r.partners), "Rita Kaufmann");
    EXPECT_EQ(fixedText(r.place), "Ile de Port-Cros");
    EXPECT_EQ(fixedText(r.comment),
        "Plong\xE9"
        "e de nuit, poulpes et congres.");
    EXPECT_EQ(r.computerType, 178);
    EXPECT_EQ(r.computerFlags, 1);
    EXPECT_EQ(r.altitudeClass, 1);
    // 480 values every 5 s: 120 kept, then the closing 0; 23:50 to 00:30 is 40 minutes.
    EXPECT_EQ(r.sampleCount, 121);
    EXPECT_EQ(r.profileLength, 7 * 40 + 17);
    EXPECT_NEAR(r.profileMaxDepth, 16.0, 0.16);
    EXPECT_NEAR(r.samples[13].depth, -16.0, 0.16);
}

TEST(CitizenImport, EveryFourthDepthValueIsKept)
{
    const DiveRecord r = Wgm({ 1, 2, 3, 40, 5, 6, 7, 80, 9, 10, 11, 120 }).record();
    EXPECT_NEAR(r.samples[1].depth, -4.0, 0.16);
    EXPECT_NEAR(r.samples[2].depth, -8.0, 0.16);
    EXPECT_NEAR(r.samples[3].depth, -12.0, 0.16);
    EXPECT_FLOAT_EQ(r.samples[4].depth, 0.0f);
    // 10:05 to 10:47: 42 minutes of profile, whatever the values say.
    EXPECT_EQ(r.profileLength, 7 * 42 + 17);
    EXPECT_EQ(r.sampleCount, 3 * 42 + 1);
}

struct TimeCase {
    const char *entry;
    const char *exit;
    const char *interval;
    int profileMinutes;
    int surfaceInterval;
};

class CitizenTimes : public testing::TestWithParam<TimeCase> { };

TEST_P(CitizenTimes, Arithmetic)
{
    const TimeCase &c = GetParam();
    const DiveRecord r = Wgm().put(300, c.entry).put(309, c.exit).put(318, c.interval).record();
    EXPECT_EQ(r.profileLength, 7 * c.profileMinutes + 17);
    EXPECT_EQ(r.surfaceInterval, c.surfaceInterval);
}

INSTANTIATE_TEST_SUITE_P(Table, CitizenTimes,
    testing::Values(TimeCase { "23,50", "00,30", "01,10", 40, 70 }, TimeCase { "09,00", "09,45", "00,00", 45, 32767 },
        TimeCase { "12,00", "12,00", "00,01", 0, 1 }));

TEST(CitizenImport, WeatherWords)
{
    struct Case {
        const char *text;
        int code;
    };
    for (const Case &c : { Case { "Rain/Snow", 6 }, Case { "snowrain", 6 }, Case { "cloudy", 2 }, Case { "FOG", 3 },
             Case { "fair sun", 1 }, Case { "storm", 5 }, Case { "grey", 0 }, Case { "", 0 } })
        EXPECT_EQ(weatherCode(c.text), c.code) << c.text;
    EXPECT_EQ(Wgm().put(81, "rainsnow").record().weather, 6);
}

TEST(CitizenImport, ImperialNumbers)
{
    const DiveRecord r
        = Wgm({ 0, 0, 0, 33 }).put(337, "100").put(345, "77").put(291, "86").record(SourceUnits::Imperial);
    EXPECT_EQ(r.maxDepth, 3046);
    EXPECT_EQ(r.minWaterTemperature, 2500);
    EXPECT_EQ(r.airTemperature, 3000);
    // 33 ft = 10.05 m, kept as 100 decimetres (10.0 m × the float 10, truncated).
    EXPECT_FLOAT_EQ(r.samples[1].depth, -10.0f);
    EXPECT_NEAR(feetToMetres(100), 30.47, 1e-6);
    EXPECT_LT(feetToMetres(100), 30.47);

    const DiveRecord metric = Wgm().put(337, "100").put(345, "77").put(291, "21.5").record();
    EXPECT_EQ(metric.maxDepth, 1000);
    EXPECT_EQ(metric.minWaterTemperature, 770);
    EXPECT_EQ(metric.airTemperature, 2150);
}

TEST(CitizenImport, WrongMarkNoDataOrShortFile)
{
    // Another mark, no bytes, or only the mark and nothing a dive is known by (no date, no time, no depth).
    const std::string markAlone = "M" + std::string(600, ' ');
    for (const auto &result : { Wgm().put(0, "X").read(), importer(Format::Citizen).read({}, {}),
             importer(Format::Citizen).read(zorv::test::bytesOf(markAlone), {}) }) {
        EXPECT_EQ(result.status(), zorv::common::Status::BadFormat);
        EXPECT_EQ(result.message(), "Mauvais format");
    }

    // A file cut inside the buddy field keeps what is there; the rest counts as missing.
    const std::string cut = "F 1999,01,02" + std::string(27, ' ') + "Anna";
    const auto result = importer(Format::Citizen).read(zorv::test::bytesOf(cut), {});
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->record.date, zorv::logbook::dayNumber(2, 1, 1999));
    EXPECT_EQ(fixedText(result->record.partners), "Anna");
    EXPECT_EQ(result->record.sampleCount, 1);
    EXPECT_EQ(result->record.surfaceInterval, zorv::logbook::kMissing);
}

struct CitizenImpossible {
    std::size_t offset;
    std::string text;
    std::string named = {}; // what the message must show, when not the text itself
    SourceUnits units = SourceUnits::Metric;
};

class CitizenImpossibleValue : public testing::TestWithParam<CitizenImpossible> { };

// Values no dive can have refuse the file and name the field; nothing is built from it.
TEST_P(CitizenImpossibleValue, RefusedWithTheValue)
{
    const CitizenImpossible &c = GetParam();
    const std::string named = c.named.empty() ? c.text : c.named;
    const auto result = Wgm({ 10, 20, 30, 40 }).put(c.offset, c.text).read(c.units);
    EXPECT_EQ(result.status(), zorv::common::Status::Refused);
    EXPECT_NE(result.message().find("Valeur impossible"), std::string::npos) << result.message();
    EXPECT_NE(result.message().find(named), std::string::npos) << result.message();
}

INSTANTIATE_TEST_SUITE_P(Table, CitizenImpossibleValue,
    testing::Values(CitizenImpossible { 2, "9999,99,99", "date=9999,99,99" },
        CitizenImpossible { 2, "2003,02,29", "date=2003,02,29" },
        CitizenImpossible { 2, "20x3,02,01", "date=20x3,02,01" }, CitizenImpossible { 300, "99,99" },
        CitizenImpossible { 309, "10,60" }, CitizenImpossible { 318, "00,75" }, CitizenImpossible { 324, "1:30" },
        CitizenImpossible { 337, "9999" }, CitizenImpossible { 337, "1100", {}, SourceUnits::Imperial },
        CitizenImpossible { 345, "-999" }, CitizenImpossible { 291, "999", {}, SourceUnits::Imperial },
        CitizenImpossible { 291, "nan" }, CitizenImpossible { 485, "  -4", "-4" },
        CitizenImpossible { 493 + 4 * 3, "-20" }),
    [](const testing::TestParamInfo<CitizenImpossible> &info) { return "Case" + std::to_string(info.index); });

// A UTF-8 file's texts reach the stored set; others stay as the file has them.
TEST(CitizenImport, UtfEightTextsAreConverted)
{
    const DiveRecord utf8 = Wgm().put(39, "Zoé Lefèvre").put(60, "Genève").record();
    EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(utf8.partners)), "Zoé Lefèvre");
    EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(utf8.place)), "Genève");
    // The field's 20 bytes end inside the last "é": it is dropped, not half kept.
    const DiveRecord cut = Wgm().put(39, "xéééééééééé").record();
    EXPECT_EQ(zorv::logbook::storedToDisplay(fixedText(cut.partners)), "xééééééééé");
    const DiveRecord raw = Wgm().put(39, "Zo\x82").put(60, "`Lac`").record();
    EXPECT_EQ(fixedText(raw.partners), "Zo\x82");
    EXPECT_EQ(fixedText(raw.place), "`Lac`");
    EXPECT_EQ(fixedText(Wgm().put(60, "`Lac`").record().place), "`Lac`");
}

TEST(CitizenImport, ValuesBeyondTheFileAreNotTaken)
{
    Wgm wgm({ 10, 20, 30, 40, 50, 60, 70, 80 });
    wgm.put(485, "9999");
    const DiveRecord r = wgm.record();
    EXPECT_NEAR(r.samples[2].depth, -8.0, 0.16);
    EXPECT_FLOAT_EQ(r.samples[3].depth, 0.0f);
}

TEST(CitizenImport, LongProfileIsCut)
{
    // Five hours of values every 5 s, the entry and exit 5 hours apart.
    const DiveRecord r = Wgm(std::vector<int>(3600, 150)).put(300, "08,00").put(309, "13,00").record();
    EXPECT_EQ(r.sampleCount, zorv::logbook::kMaxSamples);
    EXPECT_EQ(r.profileLength, 7 * 227 + 17);
    EXPECT_EQ(r.profileExtra, 0);
    EXPECT_TRUE(Wgm(std::vector<int>(3600, 150)).read()->profileCut);
}

} // namespace
