#include "imports/citizenimport.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "imports/importedprofile.h"
#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/newdive.h"

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

common::ResultOr<ImportedDive> CitizenImporter::read(
    std::span<const std::uint8_t> bytes, const ImportSettings &settings) const
{
    if (bytes.empty() || (bytes[0] != 'M' && bytes[0] != 'F'))
        return common::Result::failure(common::Status::BadFormat, std::string(common::str(StringId::BadFormat)));
    const Fields f(bytes);
    const bool imperial = settings.units == SourceUnits::Imperial;

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
        points.push_back(
            static_cast<int>(imperial ? truncated(feetToMetres(static_cast<int>(v)) * static_cast<double>(10.0f)) : v));
    }
    points.push_back(0);

    logbook::setFixedText(r.place, place, logbook::kPlaceLength);
    logbook::setFixedText(r.partners, buddy, logbook::kPartnersLength);
    logbook::setFixedText(r.comment, comment, logbook::kCommentLength);
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
