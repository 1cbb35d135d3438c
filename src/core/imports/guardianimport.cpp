#include "imports/guardianimport.h"

#include "common/cformat.h"
#include "common/strings.h"
#include "common/textcodec.h"
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
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>

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

namespace {

    // Point values the reader keeps: one per minute a record's duration can count.
    constexpr long long kMaxPointIndex = logbook::kMissing - 1;
    constexpr std::int16_t kNoPoint = std::numeric_limits<std::int16_t>::min();

    // The keys of GENERAL the import takes, in upper case as they are compared.
    constexpr std::array<std::string_view, 16> kGeneralKeys
        = { "DIVEDATE", "DIVETIME", "TEMPERATURE", "NUMPOINTS", "MAXDEPTH", "AVEDEPTH", "SURFACEINT", "ALTITUDE",
              "TANKSIZE", "TANKPRESSURE", "AIRCONS", "LOCATION", "SITE", "BUDDIES", "NOTE", "WEIGHTS" };

    class GuardianReader final : public ImportReader {
    public:
        explicit GuardianReader(const ImportSettings &settings)
            : m_settings(settings)
        {
        }

        void feed(std::span<const std::uint8_t> bytes) override
        {
            m_utf8.feed(bytes);
            const auto *at = reinterpret_cast<const char *>(bytes.data());
            std::string_view rest(at, bytes.size());
            while (!rest.empty()) {
                const auto end = rest.find('\n');
                const std::string_view piece = rest.substr(0, end);
                // Lines are read up to their first 1023 characters; the rest of a longer one is dropped.
                if (m_line.size() < kMaxLine)
                    m_line.append(piece.substr(0, kMaxLine - m_line.size()));
                m_lineOpen = true;
                if (end == std::string_view::npos)
                    break;
                takeLine();
                rest.remove_prefix(end + 1);
            }
        }

        common::ResultOr<ImportedDive> finish() override;

    private:
        enum class Section {
            None,
            General,
            Points,
            Other,
        };

        void takeLine()
        {
            std::string_view line(m_line);
            if (m_firstLine && line.starts_with("\xEF\xBB\xBF"))
                line.remove_prefix(3);
            m_firstLine = false;
            takeLine(line);
            m_line.clear();
            m_lineOpen = false;
        }

        void takeLine(std::string_view line);
        void takePoint(long long index, const std::string &value);
        std::string general(std::string_view key) const
        {
            const auto it = m_general.find(upper(key));
            return it == m_general.end() ? std::string() : it->second;
        }
        bool has(std::string_view key) const { return m_general.contains(upper(key)); }

        ImportSettings m_settings;
        common::Utf8Checker m_utf8;
        std::string m_line;
        bool m_lineOpen = false;
        bool m_firstLine = true;
        Section m_section = Section::None;
        bool m_generalSeen = false;
        bool m_pointsSeen = false;
        std::map<std::string, std::string> m_general; // the first value of each key taken, keys in upper case
        std::vector<std::int16_t> m_points; // decimetres by point index; kNoPoint where the file has none
        long long m_highestPoint = 0;
        std::optional<common::Result> m_refusal;
    };

    void GuardianReader::takeLine(std::string_view line)
    {
        if (!line.empty() && line[0] == '[') {
            const auto close = line.find(']');
            if (close != std::string_view::npos) {
                // Only the first section of each name counts.
                const std::string name = upper(line.substr(1, close - 1));
                m_section = Section::Other;
                if (name == "GENERAL" && !std::exchange(m_generalSeen, true))
                    m_section = Section::General;
                else if (name == "POINTS" && !std::exchange(m_pointsSeen, true))
                    m_section = Section::Points;
                return;
            }
        }
        if (m_section == Section::None)
            return;
        line = line.substr(0, line.find(';'));
        if (line.find_first_of("[]") != std::string_view::npos) {
            m_section = Section::None;
            return;
        }
        std::string clean;
        for (char c : line)
            if (c != '\r' && c != '\n')
                clean += c == '\t' ? ' ' : c;
        if (clean.empty())
            return;
        const auto eq = clean.find('=');
        const std::string_view all(clean);
        const std::string key = upper(trim(all.substr(0, eq)));
        const std::string value(eq == std::string::npos ? std::string_view {} : trim(all.substr(eq + 1)));
        if (m_section == Section::General) {
            if (std::find(kGeneralKeys.begin(), kGeneralKeys.end(), key) != kGeneralKeys.end())
                m_general.try_emplace(key, value);
        } else if (m_section == Section::Points) {
            if (const long long i = pointIndex(key); i > 0)
                takePoint(i, value);
        }
    }

    void GuardianReader::takePoint(long long index, const std::string &value)
    {
        const double metres = leadingFloat(value);
        if (!std::isfinite(metres) || metres < 0.0 || metres > kMaxHundredthsValue) {
            if (!m_refusal)
                m_refusal = impossibleValue("P" + std::to_string(index), value);
            return;
        }
        // No dive holds a point past the largest duration; such points are not kept.
        if (index > kMaxPointIndex)
            return;
        if (m_points.empty())
            m_points.assign(static_cast<std::size_t>(kMaxPointIndex + 1), kNoPoint);
        std::int16_t &slot = m_points[static_cast<std::size_t>(index)];
        if (slot == kNoPoint) {
            slot = static_cast<std::int16_t>(decimetres(metres));
            m_highestPoint = std::max(m_highestPoint, index);
        }
    }

    common::ResultOr<ImportedDive> GuardianReader::finish()
    {
        if (m_lineOpen)
            takeLine();
        if (m_refusal)
            return *m_refusal;
        auto generalFloat = [&](std::string_view key) { return leadingFloat(general(key)); };
        auto generalInt = [&](std::string_view key) { return leadingInt(general(key)); };

        // Values no dive can have refuse the whole file, before anything is built.
        int date[3] = { 0, 0, 0 };
        const std::string dateText = general("DiveDate");
        const bool noDate
            = dateText.empty() || (readNumbers(dateText, '-', date, 3) && date[0] + date[1] + date[2] == 0);
        if (!noDate && (!readNumbers(dateText, '-', date, 3) || !isCalendarDate(date[0], date[1], date[2])))
            return impossibleValue("DiveDate", dateText);
        int clock[2] = { 0, 0 };
        const std::string timeText = general("DiveTime");
        if (!timeText.empty() && (!readNumbers(timeText, ':', clock, 2, 2) || clock[0] > 23 || clock[1] > 59))
            return impossibleValue("DiveTime", timeText);
        struct Limit {
            std::string_view key;
            double low;
            double high;
        };
        static constexpr std::array<Limit, 9> kLimits = { { { "Temperature", kLowestTemperature, kHighestTemperature },
            { "NumPoints", 0, kMaxPointIndex }, { "MaxDepth", 0, kMaxHundredthsValue },
            { "AveDepth", 0, kMaxHundredthsValue }, { "SurfaceInt", 0, kMaxPointIndex },
            { "TankSize", 0, kMaxHundredthsValue }, { "TankPressure", 0, kMaxHundredthsValue },
            { "AirCons", 0, kMaxHundredthsValue }, { "Weights", 0, kMaxHundredthsValue } } };
        for (const Limit &limit : kLimits) {
            const double v = generalFloat(limit.key);
            if (has(limit.key) && (!std::isfinite(v) || v < limit.low || v > limit.high))
                return impossibleValue(limit.key, general(limit.key));
        }

        const long long n = generalInt("NumPoints");
        const double givenMaxDepth = generalFloat("MaxDepth");
        const bool anyDepth
            = givenMaxDepth > 0 || std::any_of(m_points.begin(), m_points.end(), [](std::int16_t v) { return v > 0; });
        // An empty file, or one of another kind, has none of the three a dive is known by.
        if (noDate && timeText.empty() && !anyDepth)
            return common::Result::failure(
                common::Status::BadFormat, std::string(common::str(common::StringId::BadFormat)));

        ImportedDive out;
        logbook::DiveRecord &r = out.record;
        logbook::applyNewDiveDefaults(r, m_settings.defaults);
        r.date = logbook::dayNumber(date[0], date[1], date[2]);
        r.entryTime = toField(clock[0] * 60LL + clock[1]);
        r.minWaterTemperature = toField(generalInt("Temperature") * 100);
        r.duration = static_cast<std::int16_t>(n);
        r.surfaceInterval = toField(generalInt("SurfaceInt"));

        // A missing point repeats the one before it (the first counts as 0), so past the
        // highest point in the file the dive stays level; walking further than the
        // samples reach would only repeat it.
        const long long walk = std::min(n, std::max<long long>(m_highestPoint, logbook::kMaxSamples / 3 + 1) + 1);
        std::vector<int> minutePoints;
        minutePoints.reserve(static_cast<std::size_t>(walk));
        int previous = 0;
        auto point = [&](long long i) {
            if (i <= kMaxPointIndex && !m_points.empty() && m_points[static_cast<std::size_t>(i)] != kNoPoint)
                previous = m_points[static_cast<std::size_t>(i)];
            return previous;
        };
        long long maxDepthCm = 0;
        for (long long i = 1; i <= walk; ++i) {
            const int v = point(i);
            maxDepthCm = std::max<long long>(maxDepthCm, v * 10LL);
            minutePoints.push_back(v);
        }
        const int after = walk < n ? point(walk + 1) : 0;
        if (givenMaxDepth > 0)
            maxDepthCm = truncated(givenMaxDepth * 10.0) * 10;
        r.maxDepth = toField(maxDepthCm);
        r.computerFlags = 1;

        out.profileCut = fillImportedProfile(r, expandMinutePoints(minutePoints, after), static_cast<int>(n));

        const long long altitude = generalInt("Altitude");
        r.altitudeClass = static_cast<std::uint8_t>(altitude >= 1 && altitude <= 4 ? altitude : 1);

        r.avgDepth = static_cast<float>(generalFloat("AveDepth"));
        if (const double v = generalFloat("TankSize"); v != 0)
            r.tankVolume = toField(truncated(v * 100.0));
        if (const long long v = generalInt("TankPressure"); v != 0)
            r.extra.tankPressure = toField(v * 100);
        if (const long long v = generalInt("AirCons"); v != 0)
            r.airUsed = toField(v * 100);
        if (const double v = generalFloat("Weights"); v != 0)
            r.extra.weights = toField(truncated(v * 100.0));

        // The texts reach the Windows set first (from UTF-8 when the whole file is
        // UTF-8), then the stored set, once.
        const bool utf8 = m_utf8.valid();
        auto stored = [&](std::string_view key) { return logbook::ansiToOem(windowsText(general(key), utf8)); };
        logbook::setFixedText(r.place, stored("Location"), logbook::kPlaceLength);
        logbook::setFixedText(r.site, stored("Site"), logbook::kSiteLength);
        logbook::setFixedText(r.partners, stored("Buddies"), logbook::kPartnersLength);
        const std::string note = stored("Note").substr(0, kNoteLength);
        logbook::setFixedText(r.comment, note, logbook::kCommentLength);
        logbook::setFixedText(r.extra.commentMore,
            note.size() > logbook::kCommentLength ? std::string_view(note).substr(logbook::kCommentLength) : "",
            logbook::kCommentMoreLength);

        r.computerType = kGuardianType;
        // As a load would, now that the tank values are known.
        logbook::Logbook::computeAirConsumption(r);
        return out;
    }

} // namespace

std::unique_ptr<ImportReader> GuardianImporter::reader(const ImportSettings &settings) const
{
    return std::make_unique<GuardianReader>(settings);
}

} // namespace zorv::imports
