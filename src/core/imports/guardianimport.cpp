#include "imports/guardianimport.h"

#include "common/cformat.h"
#include "imports/importedprofile.h"
#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/newdive.h"
#include "logbook/oemcharmap.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace zorv::imports {

namespace {

    constexpr std::size_t kMaxLine = 1023;
    constexpr std::uint8_t kGuardianType = 179;
    constexpr std::size_t kNoteLength = 511;

    std::string upper(std::string_view text)
    {
        std::string out(text);
        for (char &c : out)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return out;
    }

    std::string_view trim(std::string_view text)
    {
        const auto first = text.find_first_not_of(' ');
        if (first == std::string_view::npos)
            return {};
        return text.substr(first, text.find_last_not_of(' ') - first + 1);
    }

    // The leading integer of a value, as the C library reads it; 0 when there is none.
    // Held to what a field can take, so scaling it to hundredths cannot overflow.
    long long leadingInt(std::string_view value)
    {
        const std::string s(value.substr(0, 40));
        return std::clamp<long long>(std::strtoll(s.c_str(), nullptr, 10), -1'000'000'000, 1'000'000'000);
    }

    double leadingFloat(std::string_view value)
    {
        double d = 0.0;
        if (common::cscan(std::string(value.substr(0, 80)), "%lf", &d) != 1)
            return 0.0;
        return d;
    }

    // "P12" -> 12; 0 for any other key, including ones with leading zeros,
    // which the export never writes and which a name comparison would not match.
    long long pointIndex(const std::string &key)
    {
        if (key.size() < 2 || key.size() > 10 || key[0] != 'P' || key[1] == '0')
            return 0;
        long long n = 0;
        for (std::size_t i = 1; i < key.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(key[i])))
                return 0;
            n = n * 10 + (key[i] - '0');
        }
        return n;
    }

    int decimetres(double metres)
    {
        return static_cast<int>(std::clamp<long long>(truncated(metres * 10.0), -32768, 32767));
    }

} // namespace

SectionedText::SectionedText(std::string_view text)
{
    Section *current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, std::min(end, kMaxLine));
        text = end == std::string_view::npos ? std::string_view {} : text.substr(end + 1);

        if (!line.empty() && line[0] == '[') {
            const auto close = line.find(']');
            if (close != std::string_view::npos) {
                m_sections.push_back({ upper(line.substr(1, close - 1)), {} });
                current = &m_sections.back();
                continue;
            }
        }
        if (!current)
            continue;
        line = line.substr(0, line.find(';'));
        if (line.find_first_of("[]") != std::string_view::npos) {
            current = nullptr;
            continue;
        }
        std::string clean;
        for (char c : line)
            if (c != '\r' && c != '\n')
                clean += c == '\t' ? ' ' : c;
        if (clean.empty())
            continue;
        const auto eq = clean.find('=');
        const std::string_view all(clean);
        const std::string_view key = trim(all.substr(0, eq));
        const std::string_view value = eq == std::string::npos ? std::string_view {} : trim(all.substr(eq + 1));
        current->entries.emplace_back(upper(key), std::string(value));
    }
}

const SectionedText::Section *SectionedText::find(std::string_view section) const
{
    const std::string name = upper(section);
    for (const Section &s : m_sections)
        if (s.name == name)
            return &s;
    return nullptr;
}

std::optional<std::string> SectionedText::value(std::string_view section, std::string_view key) const
{
    const Section *s = find(section);
    if (!s)
        return std::nullopt;
    const std::string k = upper(key);
    for (const auto &[name, value] : s->entries)
        if (name == k)
            return value;
    return std::nullopt;
}

const std::vector<std::pair<std::string, std::string>> &SectionedText::entries(std::string_view section) const
{
    static const std::vector<std::pair<std::string, std::string>> kNone;
    const Section *s = find(section);
    return s ? s->entries : kNone;
}

std::vector<int> expandMinutePoints(const std::vector<int> &minutePoints, int after)
{
    std::vector<int> out;
    out.reserve(minutePoints.size() * 3 + 1);
    for (std::size_t i = 0; i < minutePoints.size(); ++i) {
        const int v = minutePoints[i];
        const int w = i + 1 < minutePoints.size() ? minutePoints[i + 1] : after;
        out.push_back(v);
        // Integer thirds, truncated toward zero as the export's other readers do.
        const int d = (v < w ? w - v : v - w) / 3;
        const int step = v < w ? d : -d;
        out.push_back(v + step);
        out.push_back(v + 2 * step);
    }
    out.push_back(0);
    return out;
}

common::ResultOr<ImportedDive> GuardianImporter::read(
    std::span<const std::uint8_t> bytes, const ImportSettings &settings) const
{
    const SectionedText file(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()));
    auto general = [&](std::string_view key) { return file.value("GENERAL", key).value_or(std::string()); };
    auto generalFloat = [&](std::string_view key) { return leadingFloat(general(key)); };
    auto generalInt = [&](std::string_view key) { return leadingInt(general(key)); };

    ImportedDive out;
    logbook::DiveRecord &r = out.record;
    logbook::applyNewDiveDefaults(r, settings.defaults);

    int day = 0;
    int month = 0;
    int year = 0;
    (void)common::cscan(general("DiveDate"), "%2d-%2d-%4d", &day, &month, &year);
    r.date = logbook::dayNumber(day, month, year);
    int hours = 0;
    int minutes = 0;
    (void)common::cscan(general("DiveTime"), "%2d:%2d", &hours, &minutes);
    r.entryTime = toField(hours * 60LL + minutes);
    r.minWaterTemperature = toField(generalInt("Temperature") * 100);
    const long long n = std::clamp<long long>(generalInt("NumPoints"), 0, logbook::kMissing - 1);
    r.duration = static_cast<std::int16_t>(n);
    r.surfaceInterval = toField(generalInt("SurfaceInt"));

    // A missing point repeats the one before it (the first counts as 0), so past the
    // highest point in the file the dive stays level; walking further than the
    // samples reach would only repeat it.
    std::unordered_map<long long, std::string> pointText;
    long long highest = 0;
    for (const auto &[key, value] : file.entries("POINTS"))
        if (const long long i = pointIndex(key); i > 0 && pointText.emplace(i, value).second)
            highest = std::max(highest, i);
    const long long walk = std::min(n, std::max<long long>(highest, logbook::kMaxSamples / 3 + 1) + 1);
    std::vector<int> minutePoints;
    minutePoints.reserve(static_cast<std::size_t>(walk));
    int previous = 0;
    auto point = [&](long long i) {
        if (const auto it = pointText.find(i); it != pointText.end())
            previous = decimetres(leadingFloat(it->second));
        return previous;
    };
    long long maxDepthCm = 0;
    for (long long i = 1; i <= walk; ++i) {
        const int v = point(i);
        maxDepthCm = std::max<long long>(maxDepthCm, v * 10LL);
        minutePoints.push_back(v);
    }
    const int after = walk < n ? point(walk + 1) : 0;
    if (const double given = generalFloat("MaxDepth"); given > 0)
        maxDepthCm = truncated(given * 10.0) * 10;
    r.maxDepth = toField(maxDepthCm);
    r.computerFlags = 1;

    out.profileCut = fillImportedProfile(r, expandMinutePoints(minutePoints, after), static_cast<int>(n));

    const long long altitude = generalInt("Altitude");
    r.altitudeClass = static_cast<std::uint8_t>(altitude >= 1 && altitude <= 4 ? altitude : 1);

    // Not a number, or one no float holds, is no average depth.
    const double average = generalFloat("AveDepth");
    r.avgDepth = std::isfinite(average) && std::abs(average) < 1.0e6 ? static_cast<float>(average) : 0.0f;
    if (const double v = generalFloat("TankSize"); v != 0)
        r.tankVolume = toField(truncated(v * 100.0));
    if (const long long v = generalInt("TankPressure"); v != 0)
        r.extra.tankPressure = toField(v * 100);
    if (const long long v = generalInt("AirCons"); v != 0)
        r.airUsed = toField(v * 100);
    if (const double v = generalFloat("Weights"); v != 0)
        r.extra.weights = toField(truncated(v * 100.0));

    // The export is in the Windows set; each text is converted to the stored set once.
    using logbook::ansiToOem;
    logbook::setFixedText(r.place, ansiToOem(general("Location")), logbook::kPlaceLength);
    logbook::setFixedText(r.site, ansiToOem(general("Site")), logbook::kSiteLength);
    logbook::setFixedText(r.partners, ansiToOem(general("Buddies")), logbook::kPartnersLength);
    const std::string note = ansiToOem(general("Note").substr(0, kNoteLength));
    logbook::setFixedText(r.comment, note, logbook::kCommentLength);
    logbook::setFixedText(r.extra.commentMore,
        note.size() > logbook::kCommentLength ? std::string_view(note).substr(logbook::kCommentLength) : "",
        logbook::kCommentMoreLength);

    r.computerType = kGuardianType;
    // As a load would, now that the tank values are known.
    logbook::Logbook::computeAirConsumption(r);
    return out;
}

} // namespace zorv::imports
