#include "imports/citizenimport.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/textcodec.h"
#include "common/translation.h"
#include "imports/importchecks.h"
#include "imports/importedprofile.h"
#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/newdive.h"
#include "logbook/oemcharmap.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace zorv::imports {

using common::StringId;

namespace {
    constexpr std::size_t kDepthValues = 493;
    constexpr std::size_t kDepthStride = 4;
    constexpr int kMinutesPerDay = 1440;
    // The count field has four digits: nothing past its last value is ever read.
    constexpr std::size_t kMaxUsedBytes = kDepthValues + kDepthStride * 10000;
    constexpr int kMaxDecimetres = 3276;
    constexpr int kMaxFeet = 1075;
    constexpr int kLowestFahrenheit = -76;
    constexpr int kHighestFahrenheit = 140;

    class Fields {
    public:
        explicit Fields(std::span<const std::uint8_t> bytes)
            : m_bytes(bytes)
        {
        }
        // The field's characters as far as the file reaches, ending at a zero byte.
        std::string text(std::size_t offset, std::size_t chars) const
        {
            std::string out;
            for (std::size_t i = offset; i < offset + chars && i < m_bytes.size() && m_bytes[i] != 0; ++i)
                out += static_cast<char>(m_bytes[i]);
            return out;
        }
        long long integer(std::size_t offset, std::size_t chars) const
        {
            return std::strtoll(text(offset, chars).c_str(), nullptr, 10);
        }
        bool reaches(std::size_t offset) const { return offset < m_bytes.size(); }

    private:
        std::span<const std::uint8_t> m_bytes;
    };

    std::string trimmedRight(std::string text)
    {
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        return text;
    }

    int clockMinutes(const std::string &text)
    {
        int hours = 0;
        int minutes = 0;
        (void)common::cscan(text, "%2d,%2d", &hours, &minutes);
        return hours * 60 + minutes;
    }

    // A field cut inside a UTF-8 character loses that character's first bytes too.
    std::string wholeCharacters(std::string text)
    {
        std::size_t keep = text.size();
        while (keep > 0 && (static_cast<unsigned char>(text[keep - 1]) & 0xC0) == 0x80)
            --keep;
        if (keep > 0 && static_cast<unsigned char>(text[keep - 1]) >= 0xC0
            && common::firstUtf8Sequence(std::string_view(text).substr(keep - 1)).length == 0)
            text.resize(keep - 1);
        return text;
    }

    std::string trimmed(std::string text)
    {
        text = trimmedRight(std::move(text));
        return text.substr(std::min(text.find_first_not_of(' '), text.size()));
    }

    // A blank field is a missing one; anything else must be "hh,mm" with at most
    // `maxHours` hours and a minute of the hour.
    bool isClock(const std::string &field, int maxHours)
    {
        const std::string text = trimmed(field);
        int clock[2] = { 0, 0 };
        return text.empty() || (readNumbers(text, ',', clock, 2, 2) && clock[0] <= maxHours && clock[1] <= 59);
    }

    long long celsiusHundredthsFromFahrenheit(long long fahrenheit)
    {
        return truncated((static_cast<double>(fahrenheit) - 32.0) * 0.5555555555555556 * 100.0);
    }

} // namespace

std::uint8_t weatherCode(std::string_view text)
{
    struct Word {
        const char *word;
        std::uint8_t code;
    };
    static constexpr std::array<Word, 8> kWords { { { "SUN", 1 }, { "FAIR", 1 }, { "FINE", 1 }, { "CLOUD", 2 },
        { "FOG", 3 }, { "RAIN", 4 }, { "STORM", 5 }, { "SNOW", 6 } } };
    std::string upper(text);
    for (char &c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::uint8_t code = 0;
    for (const Word &w : kWords)
        if (upper.find(w.word) != std::string::npos)
            code = w.code;
    return code;
}

double feetToMetres(int feet)
{
    // The hundredth is the float nearest 0.01, a little below it; the product keeps
    // the extended precision, so 100 ft come out as 30.4699... and not 30.47.
    const long double centimetres = std::trunc(static_cast<long double>(feet) * 0.3047994328292154L * 100.0L);
    return static_cast<double>(centimetres * static_cast<long double>(0.01f));
}

namespace {

    // Keeps the part of the file the fields lie in and reads them at the end.
    class CitizenReader final : public ImportReader {
    public:
        explicit CitizenReader(const ImportSettings &settings)
            : m_settings(settings)
        {
        }
        void feed(std::span<const std::uint8_t> bytes) override
        {
            m_utf8.feed(bytes);
            const std::size_t room = kMaxUsedBytes - std::min(m_bytes.size(), kMaxUsedBytes);
            m_bytes.insert(m_bytes.end(), bytes.begin(),
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(room, bytes.size())));
        }
        common::ResultOr<ImportedDive> finish() override;

    private:
        common::Result check(const Fields &f, bool imperial) const;

        ImportSettings m_settings;
        common::Utf8Checker m_utf8;
        std::vector<std::uint8_t> m_bytes;
    };

    // Values no dive can have refuse the file, naming the field.
    common::Result CitizenReader::check(const Fields &f, bool imperial) const
    {
        const std::string dateText = trimmed(f.text(2, 13));
        int date[3] = { 0, 0, 0 };
        const bool dateRead = readNumbers(dateText, ',', date, 3);
        const bool noDate = dateText.empty() || (dateRead && date[0] + date[1] + date[2] == 0);
        if (!noDate && (!dateRead || !isCalendarDate(date[2], date[1], date[0])))
            return impossibleValue(N_("date"), dateText);
        struct Clock {
            const char *name;
            std::size_t offset;
            std::size_t chars;
            int maxHours;
        };
        static constexpr std::array<Clock, 4> kClocks = { { { N_("heure d'entrée"), 300, 8, 23 },
            { N_("heure de sortie"), 309, 8, 23 }, { N_("intervalle"), 318, 5, 99 }, { N_("durée"), 324, 8, 99 } } };
        for (const Clock &c : kClocks)
            if (!isClock(f.text(c.offset, c.chars), c.maxHours))
                return impossibleValue(c.name, trimmed(f.text(c.offset, c.chars)));

        auto outside = [](long long v, long long low, long long high) { return v < low || v > high; };
        const int maxDepth = imperial ? kMaxFeet : kMaxDecimetres;
        if (outside(f.integer(337, 4), 0, maxDepth))
            return impossibleValue(N_("profondeur max."), trimmed(f.text(337, 4)));
        const long long lowTemperature = imperial ? kLowestFahrenheit : kLowestTemperature * 10;
        const long long highTemperature = imperial ? kHighestFahrenheit : kHighestTemperature * 10;
        if (outside(f.integer(345, 4), lowTemperature, highTemperature))
            return impossibleValue(N_("temp. eau"), trimmed(f.text(345, 4)));
        double air = 0.0;
        if (!imperial)
            (void)common::cscan(f.text(291, 9), "%lf", &air);
        if (imperial ? outside(f.integer(291, 9), kLowestFahrenheit, kHighestFahrenheit)
                     : !std::isfinite(air) || air < kLowestTemperature || air > kHighestTemperature)
            return impossibleValue(N_("temp. air"), trimmed(f.text(291, 9)));
        if (f.integer(485, 4) < 0)
            return impossibleValue(N_("nombre de profondeurs"), trimmed(f.text(485, 4)));
        return {};
    }

} // namespace

std::unique_ptr<ImportReader> CitizenImporter::reader(const ImportSettings &settings) const
{
    return std::make_unique<CitizenReader>(settings);
}

common::ResultOr<ImportedDive> CitizenReader::finish()
{
    const std::span<const std::uint8_t> bytes(m_bytes);
    const ImportSettings &settings = m_settings;
    if (bytes.empty() || (bytes[0] != 'M' && bytes[0] != 'F'))
        return common::Result::failure(common::Status::BadFormat, std::string(common::str(StringId::BadFormat)));
    const Fields f(bytes);
    const bool imperial = settings.units == SourceUnits::Imperial;
    if (common::Result checked = check(f, imperial); !checked)
        return checked;

    ImportedDive out;
    logbook::DiveRecord &r = out.record;
    logbook::applyNewDiveDefaults(r, settings.defaults);

    int year = 0;
    int month = 0;
    int day = 0;
    (void)common::cscan(f.text(2, 13), "%4d,%2d,%2d", &year, &month, &day);
    r.date = logbook::dayNumber(day, month, year);
    const std::string buddy = trimmedRight(f.text(39, 20));
    const std::string place = trimmedRight(f.text(60, 20));
    r.weather = weatherCode(f.text(81, 8));
    const std::string comment = trimmedRight(f.text(90, 200));

    if (imperial) {
        r.airTemperature = toField(celsiusHundredthsFromFahrenheit(f.integer(291, 9)));
    } else {
        double celsius = 0.0;
        (void)common::cscan(f.text(291, 9), "%lf", &celsius);
        r.airTemperature = toField(truncated(celsius * 100.0));
    }
    const int entry = clockMinutes(f.text(300, 8));
    const int exit = clockMinutes(f.text(309, 8));
    // The profile runs from entry to exit, across midnight when the exit is earlier.
    const int profileMinutes = exit - entry + (exit < entry ? kMinutesPerDay : 0);
    r.entryTime = toField(entry);
    const int interval = clockMinutes(f.text(318, 5));
    r.surfaceInterval = interval == 0 ? logbook::kMissing : toField(interval);
    r.duration = toField(clockMinutes(f.text(324, 8)));

    const long long depth = f.integer(337, 4);
    const long long water = f.integer(345, 4);
    if (imperial) {
        r.maxDepth = toField(truncated(feetToMetres(static_cast<int>(depth)) * static_cast<double>(100.0f)));
        r.minWaterTemperature = toField(celsiusHundredthsFromFahrenheit(water));
    } else {
        r.maxDepth = toField(depth * 10);
        r.minWaterTemperature = toField(water * 10);
    }

    // One value every 5 s; every fourth makes the 20-second profile. Values past the
    // end of the file are not there to take.
    const long long count = std::max<long long>(f.integer(485, 4), 0);
    std::vector<int> points;
    for (long long k = 3; k < count; k += 4) {
        const std::size_t offset = kDepthValues + static_cast<std::size_t>(k) * kDepthStride;
        if (!f.reaches(offset))
            break;
        const long long v = f.integer(offset, 3);
        if (v < 0 || v > (imperial ? kMaxFeet : kMaxDecimetres))
            return impossibleValue("profondeur", trimmed(f.text(offset, 3)));
        points.push_back(
            static_cast<int>(imperial ? truncated(feetToMetres(static_cast<int>(v)) * static_cast<double>(10.0f)) : v));
    }
    // An empty file, or one of another kind that happens to start with the mark,
    // has none of the three a dive is known by.
    const bool anyDepth = r.maxDepth > 0 || std::any_of(points.begin(), points.end(), [](int v) { return v > 0; });
    if (r.date == logbook::kNoDate && trimmed(f.text(300, 8)).empty() && !anyDepth)
        return common::Result::failure(common::Status::BadFormat, std::string(common::str(StringId::BadFormat)));
    points.push_back(0);

    // The texts are stored as the file has them, unless the file is UTF-8 and the text
    // goes beyond ASCII: then it is taken to the stored set as the other import's texts are.
    const bool utf8 = m_utf8.valid();
    auto stored = [&](const std::string &text) {
        const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
        return utf8 && !ascii ? logbook::ansiToOem(windowsText(wholeCharacters(text), true)) : text;
    };
    logbook::setFixedText(r.place, stored(place), logbook::kPlaceLength);
    logbook::setFixedText(r.partners, stored(buddy), logbook::kPartnersLength);
    logbook::setFixedText(r.comment, stored(comment), logbook::kCommentLength);
    r.computerFlags = 1;
    r.computerType = settings.computerType;
    r.avgDepth = 0.0f;
    if (r.altitudeClass == 0)
        r.altitudeClass = 1;
    out.profileCut = fillImportedProfile(r, points, profileMinutes);
    // As a load would, now that the tank values are known.
    logbook::Logbook::computeAirConsumption(r);
    return out;
}

} // namespace zorv::imports
