#include "logbook/daynumber.h"
#include "logbook/fieldcatalogue.h"
#include "logbook/names.h"
#include "logbook/units.h"

#include <clocale>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>

using namespace zorv::logbook;

namespace {

constexpr auto M = UnitSystem::Metric;
constexpr auto I = UnitSystem::Imperial;

// ---- Conversions and formatters ----------------------------------------------------------

// The other conversion factors show through the field texts below.
TEST(Units, PressureRoundsUpAboveAFifthAndHundredthsSurviveOverflow)
{
    EXPECT_EQ(barToPsi(200.0), 2900); // t = 2899.6
    EXPECT_EQ(barToPsi(149.0), 2160); // t = 2160.199, fraction not above 0.2
    EXPECT_DOUBLE_EQ(psiToBar(2900), 200.02);
    EXPECT_EQ(toHundredths(0.29f), 29);
    EXPECT_EQ(toHundredths(-5.5f), -550);
    EXPECT_GT(toHundredths(1e30f), 32767);
    EXPECT_LT(toHundredths(-1e30f), -32768);
    EXPECT_EQ(toHundredths(std::nanf("")), 0);
}

struct FormatCase {
    std::function<std::string(int)> format;
    int value;
    std::string expected;
};

class Formatters : public testing::TestWithParam<FormatCase> { };

TEST_P(Formatters, Format)
{
    EXPECT_EQ(GetParam().format(GetParam().value), GetParam().expected);
}

const auto oneDecimal = [](int v) { return formatOneDecimal(v); };
const auto noDecimal = [](int v) { return formatNoDecimal(v); };
const auto padded = [](int v) { return formatPaddedDecimal(v); };
const auto clock = [](int v) { return formatClock(v); };

// The unit-specific formatters are covered through the field texts below.
INSTANTIATE_TEST_SUITE_P(Table, Formatters,
    testing::Values(FormatCase { clock, 125, "02:05" }, FormatCase { clock, 1500, "25:00" },
        FormatCase { clock, -5, "00:-5" }, FormatCase { clock, 32767, "" }, FormatCase { oneDecimal, 32767, "" },
        FormatCase { noDecimal, 20049, "200" }, FormatCase { padded, 990, "  9.9" }, FormatCase { padded, 32767, "" }));

TEST(Units, DecimalPointSurvivesAFrenchLocale)
{
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "fr_FR.UTF-8 is not installed";
    const std::string shown = formatOneDecimal(1234);
    DiveRecord record;
    EXPECT_EQ(FieldCatalogue(M).toRecord(Field::MaxDepth, "12.34", record), Parsed::Stored);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(shown, "12.3");
    EXPECT_EQ(record.maxDepth, 1234);
}

// ---- Field texts in both unit systems ----------------------------------------------------

struct ShowCase {
    const char *name;
    Field field;
    std::function<void(DiveRecord &)> fill;
    std::string metric;
    std::string imperial;
};

class FieldText : public testing::TestWithParam<ShowCase> { };

TEST_P(FieldText, ShowsInBothUnitSystems)
{
    DiveRecord record;
    GetParam().fill(record);
    EXPECT_EQ(FieldCatalogue(M).fromRecord(GetParam().field, record), GetParam().metric);
    EXPECT_EQ(FieldCatalogue(I).fromRecord(GetParam().field, record), GetParam().imperial);
}

INSTANTIATE_TEST_SUITE_P(Table, FieldText,
    testing::Values(ShowCase { "depth", Field::MaxDepth, [](DiveRecord &r) { r.maxDepth = 1234; }, "12.3", "40" },
        ShowCase {
            "depthMissingDespiteProfile", Field::MaxDepth, [](DiveRecord &r) { r.profileMaxDepth = 20.0f; }, "", "" },
        ShowCase { "negativeDepthShowsProfile", Field::MaxDepth,
            [](DiveRecord &r) {
                r.maxDepth = -1;
                r.profileMaxDepth = 23.46f;
            },
            "23.5", "77" },
        ShowCase {
            "negativeDepthWithoutProfile", Field::MaxDepth, [](DiveRecord &r) { r.maxDepth = -250; }, "-2.5", "-8" },
        ShowCase {
            "profileAverage", Field::AverageDepth, [](DiveRecord &r) { r.profileAvgDepth = 8.26f; }, "8.3", "27" },
        ShowCase { "givenAverageWins", Field::AverageDepth,
            [](DiveRecord &r) {
                r.avgDepth = 10.0f;
                r.profileAvgDepth = 8.26f;
            },
            "10.0", "33" },
        ShowCase { "noAverage", Field::AverageDepth, [](DiveRecord &) {}, "", "" },
        ShowCase {
            "tankPressure", Field::TankPressure, [](DiveRecord &r) { r.extra.tankPressure = 20000; }, "200", "2900" },
        ShowCase { "airUsed", Field::AirUsed, [](DiveRecord &r) { r.airUsed = 10000; }, "100", "1450" },
        ShowCase { "tank", Field::TankVolume, [](DiveRecord &r) { r.tankVolume = 1200; }, "12.0", "84" },
        ShowCase { "tankMissing", Field::TankVolume, [](DiveRecord &) {}, "", "" },
        ShowCase {
            "airTemperature", Field::AirTemperature, [](DiveRecord &r) { r.airTemperature = 2500; }, "25.0", "77" },
        ShowCase { "waterTemperature", Field::MinWaterTemperature, [](DiveRecord &r) { r.minWaterTemperature = 450; },
            "4.5", "40.1" },
        ShowCase { "weights", Field::Weights, [](DiveRecord &r) { r.extra.weights = 1000; }, "10.0", "26.8" },
        ShowCase { "weightsMissing", Field::Weights, [](DiveRecord &) {}, "", "" },
        ShowCase { "visibility", Field::Visibility, [](DiveRecord &r) { r.extra.visibility = 1500; }, "15", "49" },
        ShowCase {
            "consumption", Field::AirConsumption, [](DiveRecord &r) { r.airConsumption = 18.44f; }, "18.4", "0.65" },
        ShowCase { "noConsumption", Field::AirConsumption, [](DiveRecord &) {}, "", "" },
        ShowCase {
            "interval", Field::SurfaceInterval, [](DiveRecord &r) { r.surfaceInterval = 95; }, "01:35", "01:35" },
        ShowCase { "negativeIntervalIsMissing", Field::SurfaceInterval, [](DiveRecord &r) { r.surfaceInterval = -13; },
            "", "" },
        ShowCase { "altitude", Field::AltitudeClass, [](DiveRecord &r) { r.altitudeClass = 2; }, "900 m ... 1750 m",
            "3000 ft ... 5700 ft" },
        ShowCase { "altitudeOutOfTable", Field::AltitudeClass, [](DiveRecord &r) { r.altitudeClass = 9; }, "", "" },
        ShowCase { "suit", Field::Suit, [](DiveRecord &r) { r.suit = 5; }, "Semi-étanche", "Semi-étanche" }),
    [](const auto &info) { return std::string(info.param.name); });

// ---- Parsing typed text ------------------------------------------------------------------

struct ParseCase {
    const char *name;
    UnitSystem units;
    Field field;
    std::string text;
    int stored;
};

class FieldParse : public testing::TestWithParam<ParseCase> { };

int storedValue(Field field, const DiveRecord &r)
{
    switch (field) {
    case Field::EntryTime:
        return r.entryTime;
    case Field::Duration:
        return r.duration;
    case Field::MaxDepth:
        return r.maxDepth;
    case Field::Visibility:
        return r.extra.visibility;
    case Field::AirTemperature:
        return r.airTemperature;
    case Field::AirUsed:
        return r.airUsed;
    case Field::TankPressure:
        return r.extra.tankPressure;
    case Field::TankVolume:
        return r.tankVolume;
    case Field::Weights:
        return r.extra.weights;
    case Field::DiveNumber:
        return r.diveNumber;
    default:
        ADD_FAILURE() << "no stored value for this field";
        return 0;
    }
}

TEST_P(FieldParse, Stores)
{
    DiveRecord record;
    record.maxDepth = record.duration = record.entryTime = 1; // must be overwritten
    EXPECT_EQ(FieldCatalogue(GetParam().units).toRecord(GetParam().field, GetParam().text, record), Parsed::Stored);
    EXPECT_EQ(storedValue(GetParam().field, record), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Table, FieldParse,
    testing::Values(ParseCase { "midnightIsMissing", M, Field::EntryTime, "0:00", 32767 },
        ParseCase { "emptyTimeIsMissing", M, Field::EntryTime, "", 32767 },
        ParseCase { "plainMinutes", M, Field::EntryTime, "90", 90 },
        ParseCase { "minutesCarryOver", M, Field::Duration, "1:75", 135 },
        ParseCase { "hoursOnly", M, Field::Duration, "2:", 120 },
        ParseCase { "depth", M, Field::MaxDepth, "12.34", 1234 },
        ParseCase { "emptyIsMissing", M, Field::MaxDepth, "", 32767 },
        ParseCase { "singlePrecisionHundredths", M, Field::TankVolume, "0.29", 29 },
        ParseCase { "feetCutToCentimetres", I, Field::MaxDepth, "40", 1219 },
        ParseCase { "visibilityWholeMetres", M, Field::Visibility, "12.7", 1200 },
        ParseCase { "visibilityFeet", I, Field::Visibility, "33", 1000 },
        ParseCase { "pressureCapped", M, Field::TankPressure, "350", 32000 },
        ParseCase { "psiToWholeBar", I, Field::TankPressure, "2900", 20000 },
        ParseCase { "psiCapped", I, Field::TankPressure, "6000", 32000 },
        ParseCase { "fahrenheit", I, Field::AirTemperature, "77", 2500 },
        ParseCase { "negativeCelsius", M, Field::AirTemperature, "-5.5", -550 },
        ParseCase { "cubicFeet", I, Field::TankVolume, "84", 1200 },
        ParseCase { "pounds", I, Field::Weights, "26.8", 1000 },
        ParseCase { "diveNumber", M, Field::DiveNumber, "42", 42 },
        ParseCase { "blankIsMissing", M, Field::Weights, "  ", 32767 },
        ParseCase { "decimalCommaTemperature", M, Field::AirTemperature, "18,5", 1850 },
        ParseCase { "decimalCommaDepth", M, Field::MaxDepth, " 18,5 ", 1850 },
        ParseCase { "decimalCommaFeet", I, Field::MaxDepth, "40,0", 1219 },
        ParseCase { "decimalCommaWeights", M, Field::Weights, "2,5", 250 },
        ParseCase { "decimalCommaVolume", M, Field::TankVolume, "11,1", 1110 },
        ParseCase { "decimalCommaWholeBar", M, Field::AirUsed, "150,7", 15000 },
        ParseCase { "minusHundredDegreesIsMissing", M, Field::AirTemperature, "-100", 32767 },
        ParseCase { "deepestThatFits", M, Field::MaxDepth, "327,66", 32766 },
        ParseCase { "coldestThatFits", M, Field::AirTemperature, "-327,68", -32768 },
        ParseCase { "wholeDiveNumber", M, Field::DiveNumber, "42,0", 42 },
        ParseCase { "airUsedAtTheTop", M, Field::AirUsed, "327", 32700 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FieldParse, ComputedFieldsRefuseText)
{
    DiveRecord record;
    const DiveRecord before = record;
    const FieldCatalogue catalogue(M);
    for (Field f :
        { Field::AverageDepth, Field::AirConsumption, Field::DiveTypeText, Field::WarningsText, Field::ComputerName })
        EXPECT_EQ(catalogue.toRecord(f, "12", record), Parsed::NotTyped);
    EXPECT_EQ(record, before);
}

// Typed text that once became 0 or was cut to the field's edge: now refused, the record untouched.
struct RefusedCase {
    const char *name;
    UnitSystem units;
    Field field;
    const char *text;
    Parsed outcome;
};

class FieldRefusal : public testing::TestWithParam<RefusedCase> { };

TEST_P(FieldRefusal, LeavesTheRecordAlone)
{
    DiveRecord record;
    record.maxDepth = 1234;
    record.airTemperature = 2000;
    record.extra.weights = 600;
    const DiveRecord before = record;
    EXPECT_EQ(FieldCatalogue(GetParam().units).toRecord(GetParam().field, GetParam().text, record), GetParam().outcome);
    EXPECT_EQ(record, before);
}

INSTANTIATE_TEST_SUITE_P(Table, FieldRefusal,
    testing::Values(RefusedCase { "letters", M, Field::Weights, "abc", Parsed::NotANumber },
        RefusedCase { "trailingUnit", M, Field::MaxDepth, "12.5 m", Parsed::NotANumber },
        RefusedCase { "trailingJunk", M, Field::AirTemperature, "18,5x", Parsed::NotANumber },
        RefusedCase { "exponent", M, Field::AirTemperature, "1e309", Parsed::NotANumber },
        RefusedCase { "infinity", M, Field::MinWaterTemperature, "inf", Parsed::NotANumber },
        RefusedCase { "twoSeparators", M, Field::TankVolume, "1.000,5", Parsed::NotANumber },
        RefusedCase { "fractionOfADiveNumber", M, Field::DiveNumber, "12,5", Parsed::NotANumber },
        RefusedCase { "hugeWeights", M, Field::Weights, "99999999", Parsed::OutOfRange },
        RefusedCase { "justPastTheTop", M, Field::MaxDepth, "327,67", Parsed::OutOfRange },
        RefusedCase { "tooDeepInFeet", I, Field::MaxDepth, "1100", Parsed::OutOfRange },
        RefusedCase { "tooHotInFahrenheit", I, Field::AirTemperature, "700", Parsed::OutOfRange },
        RefusedCase { "negativeVolume", M, Field::TankVolume, "-3", Parsed::OutOfRange },
        RefusedCase { "negativeDepth", M, Field::MaxDepth, "-5", Parsed::OutOfRange },
        RefusedCase { "negativeWeights", I, Field::Weights, "-1", Parsed::OutOfRange },
        RefusedCase { "negativeVisibility", M, Field::Visibility, "-2", Parsed::OutOfRange },
        RefusedCase { "airUsedPastTheField", M, Field::AirUsed, "350", Parsed::OutOfRange },
        RefusedCase { "diveNumberPastTheField", M, Field::DiveNumber, "32767", Parsed::OutOfRange }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FieldRefusal, MessageNamesTheFieldAndTheText)
{
    const std::string bad = refusalMessage(Parsed::NotANumber, "Temp. air", "abc");
    EXPECT_NE(bad.find("« Temp. air »"), std::string::npos) << bad;
    EXPECT_NE(bad.find("« abc »"), std::string::npos) << bad;
    const std::string far = refusalMessage(Parsed::OutOfRange, "Plombs", "99999999");
    EXPECT_NE(far.find("« Plombs »"), std::string::npos) << far;
    EXPECT_NE(far.find("99999999"), std::string::npos) << far;
    EXPECT_EQ(refusalMessage(Parsed::Stored, "Plombs", "5"), "");
}

// ---- Dates -------------------------------------------------------------------------------

TEST(Dates, FormsOfOneDay)
{
    const std::uint32_t day = dayNumber(5, 3, 2004);
    EXPECT_EQ(formatDate(day, DateForm::Long), "Ve, 05.Mars.2004");
    EXPECT_EQ(formatDate(day, DateForm::Medium), "05.03.2004");
    EXPECT_EQ(formatDate(day, DateForm::Short), "05.03.04");
    EXPECT_EQ(formatDate(dayNumber(19, 5, 2003), DateForm::Long), "Lu, 19.Mai.2003");
    EXPECT_EQ(formatDate(0, DateForm::Short), "");
    EXPECT_EQ(formatDate(kNoDate, DateForm::Long), "");
    EXPECT_EQ(dateParts(kNoDate), (CalendarDate { 0, 0, 0 }));
    EXPECT_EQ(dateParts(day), (CalendarDate { 5, 3, 2004 }));
}

TEST(Dates, ParsingYearsAndOverflow)
{
    const std::pair<const char *, std::uint32_t> cases[] = { { "5.3.04", dayNumber(5, 3, 2004) },
        { "5.3.20", dayNumber(5, 3, 1920) }, { "5.3.2004", dayNumber(5, 3, 2004) },
        { "31.02.04", dayNumber(2, 3, 2004) }, { "5.13.04", dayNumber(5, 1, 2005) }, { "", kNoDate },
        { "0.3.04", kNoDate }, { "5.0.04", kNoDate }, { "-5.3.04", kNoDate }, { "5.3.99999999999", kNoDate } };
    for (const auto &[text, day] : cases)
        EXPECT_EQ(parseDate(text), day) << text;
}

// ---- Texts and name tables ---------------------------------------------------------------

TEST(FieldTexts, StoredInOemAndCutToCapacity)
{
    const FieldCatalogue catalogue(M);
    DiveRecord record;
    EXPECT_EQ(catalogue.toRecord(Field::Place, "Zürich " + std::string(70, 'x'), record), Parsed::Stored);
    EXPECT_EQ(fixedText(record.place).size(), kPlaceLength);
    EXPECT_EQ(record.place[1], '\x81');
    EXPECT_EQ(catalogue.fromRecord(Field::Place, record).substr(0, 7), "Zürich");

    EXPECT_EQ(catalogue.toRecord(Field::Model, std::string(30, 'm'), record), Parsed::Stored);
    EXPECT_EQ(catalogue.fromRecord(Field::Model, record), std::string(25, 'm'));
}

TEST(FieldTexts, LongCommentIsSplitAndJoined)
{
    const FieldCatalogue catalogue(M);
    DiveRecord record;
    const std::string comment = std::string(255, 'a') + std::string(45, 'b');
    EXPECT_EQ(catalogue.toRecord(Field::Comment, comment, record), Parsed::Stored);
    EXPECT_EQ(fixedText(record.comment), std::string(255, 'a'));
    EXPECT_EQ(fixedText(record.extra.commentMore), std::string(45, 'b'));
    EXPECT_EQ(catalogue.fromRecord(Field::Comment, record), comment);

    EXPECT_EQ(catalogue.toRecord(Field::Comment, "court", record), Parsed::Stored);
    EXPECT_EQ(fixedText(record.extra.commentMore), "");
    EXPECT_EQ(catalogue.toRecord(Field::Comment, std::string(600, 'c'), record), Parsed::Stored);
    EXPECT_EQ(fixedText(record.extra.commentMore).size(), kCommentMoreLength);
}

TEST(FieldTexts, ChoicesAreTakenByTheirWords)
{
    DiveRecord record;
    const FieldCatalogue metric(M);
    EXPECT_EQ(metric.toRecord(Field::Weather, "Pluie", record), Parsed::Stored);
    EXPECT_EQ(record.weather, 4);
    EXPECT_EQ(metric.toRecord(Field::Weather, "Grêle", record), Parsed::Stored);
    EXPECT_EQ(record.weather, 4);
    EXPECT_EQ(metric.toRecord(Field::Weather, "", record), Parsed::Stored);
    EXPECT_EQ(record.weather, 0);
    EXPECT_EQ(FieldCatalogue(I).toRecord(Field::AltitudeClass, "8800 ft ... 13300 ft", record), Parsed::Stored);
    EXPECT_EQ(record.altitudeClass, 4);
}

TEST(FieldTexts, DiveTypeNamesChamberWhenNoWaterIsGiven)
{
    const FieldCatalogue catalogue(M);
    DiveRecord record;
    record.diveType = dive_type::kNoDeco | dive_type::kSeaWater | dive_type::kScr | 0x3;
    EXPECT_EQ(catalogue.fromRecord(Field::DiveTypeText, record), "Dans la courbe, Eau de mer, SCR");
    record.diveType = dive_type::kDeco;
    EXPECT_EQ(catalogue.fromRecord(Field::DiveTypeText, record), "Décompression, Caisson de décompression");
    record.diveType = 0;
    EXPECT_EQ(catalogue.fromRecord(Field::DiveTypeText, record), "Caisson de décompression");
}

TEST(FieldTexts, ActivitiesJoinBothSetsAndTheFreeText)
{
    const FieldCatalogue catalogue(M);
    DiveRecord record;
    record.activities = (1u << 4) | (1u << 13);
    record.extra.extraFlags = extra_flags::kBoat | 1u;
    setFixedText(record.otherActivities,
        "Apn\x82"
        "e");
    EXPECT_EQ(catalogue.fromRecord(Field::ActivitiesText, record), "Pl. de nuit, Pl. travail, Pl. bateau, Apnée");
    record = DiveRecord {};
    EXPECT_EQ(catalogue.fromRecord(Field::ActivitiesText, record), "");
    record.warnings = 0x01 | 0x02 | 0x20 | 0x80;
    EXPECT_EQ(catalogue.fromRecord(Field::WarningsText, record), "REMONTÉE, SOS");
}

class FakeComputers : public ComputerInfo {
public:
    bool isNitrox(std::uint8_t) const override { return false; }
    bool isO2(std::uint8_t) const override { return false; }
    std::string displayName(std::uint8_t id) const override { return id == 3 ? "Modèle trois" : ""; }
};

TEST(FieldTexts, ComputerNames)
{
    DiveRecord record;
    const FieldCatalogue bare(M);
    EXPECT_EQ(bare.fromRecord(Field::ComputerName, record), "Données manuelles");
    record.computerType = 7;
    EXPECT_EQ(bare.fromRecord(Field::ComputerName, record), "Type 7");
    EXPECT_EQ(bare.fromRecord(Field::ComputerNameForPrint, record), "");

    const FakeComputers computers;
    const FieldCatalogue withCatalogue(M, &computers);
    record.computerType = 3;
    EXPECT_EQ(withCatalogue.fromRecord(Field::ComputerNameForPrint, record), "Modèle trois");
    record.computerType = 4;
    EXPECT_EQ(withCatalogue.fromRecord(Field::ComputerName, record), "Type 4");
}

TEST(FieldTexts, ProfileKindAndBlankRecord)
{
    const FieldCatalogue catalogue(M);
    DiveRecord record;
    EXPECT_EQ(catalogue.fromDive(Field::ProfileKindText, 1), "Pas de profil");
    EXPECT_EQ(catalogue.fromDive(Field::Date, 1), "");
    record.profileLength = 100;
    record.profileHeader[0] = 5;
    EXPECT_EQ(catalogue.fromRecord(Field::ProfileKindText, record), "Profil");
    for (std::uint16_t i = 0; i < 8; ++i)
        record.profileHeader[i] = i % 2 ? 0 : static_cast<std::uint16_t>(kHandProfileHeaderBase + i);
    EXPECT_EQ(catalogue.fromRecord(Field::ProfileKindText, record), "Profil manuel");
}

TEST(Names, GermanDefaultsFillGapsAndOutOfRangeIsEmpty)
{
    EXPECT_EQ(names::diveType(9), "SCR");
    EXPECT_EQ(names::diveType(0), "");
    EXPECT_EQ(names::suit(-1), "");
    EXPECT_EQ(names::suit(names::kSuitCount), "");
    // The second activities' long names are the first extra flags, and end where the activities do.
    EXPECT_EQ(names::secondActivityLong(2), "Chambre compression");
    EXPECT_EQ(names::secondActivityLong(names::kSecondActivityCount - 1), "Pl. check");
    EXPECT_EQ(names::secondActivityLong(names::kSecondActivityCount), "");
    EXPECT_EQ(names::secondActivityLong(-1), "");
}

} // namespace
