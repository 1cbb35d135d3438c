#include "transfer/imageencoder.h"

#include "logbook/computerinfo.h"
#include "transfer/memoryimage.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zorv::transfer {

namespace {

    using Image = std::array<std::uint8_t, image::kSize>;

    void putBigEndian(Image &img, std::size_t at, std::uint32_t value, int bytes)
    {
        for (int i = bytes - 1; i >= 0; --i) {
            img[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFF);
            value >>= 8;
        }
    }

    std::uint8_t toBcd(int value)
    {
        return static_cast<std::uint8_t>(((value / 10) << 4) | (value % 10));
    }

    // The word whose rounding gives back the centimetres; the rounding is not
    // monotone enough in single precision to invert by formula alone.
    std::int16_t depthWord(int cm)
    {
        const long guess = std::lround(cm / 0.24414061);
        for (long v = guess - 2; v <= guess + 2; ++v)
            if (image::depthCentimetres(static_cast<std::int16_t>(v)) == cm)
                return static_cast<std::int16_t>(v);
        return static_cast<std::int16_t>(guess);
    }

    // What an overwritten stretch of the ring holds: anything but the 0xFF that
    // starts a profile.
    class Filler {
    public:
        explicit Filler(std::uint32_t seed)
            : m_state(seed | 1u)
        {
        }
        std::uint8_t next()
        {
            m_state = m_state * 1664525u + 1013904223u;
            const auto b = static_cast<std::uint8_t>(m_state >> 24);
            return b == 0xFF ? 0xFE : b;
        }

    private:
        std::uint32_t m_state;
    };

    logbook::ProfileFamily familyOf(std::uint8_t type, const logbook::ComputerInfo *computers)
    {
        if (computers && computers->isO2(type))
            return logbook::ProfileFamily::O2;
        if (computers && computers->isNitrox(type))
            return logbook::ProfileFamily::Nitrox;
        return logbook::ProfileFamily::Plain;
    }

    // The bytes a dive's profile occupies in the ring, its leading 0xFF included.
    std::vector<std::uint8_t> profileBytes(const logbook::ProfileScript &script, logbook::ProfileFamily family)
    {
        logbook::DiveRecord record;
        logbook::encodeProfile(record, script, family);
        std::vector<std::uint8_t> out { 0xFF, record.profileFirstByte };
        for (std::uint16_t word : record.profileHeader) {
            out.push_back(static_cast<std::uint8_t>(word & 0xFF));
            out.push_back(static_cast<std::uint8_t>(word >> 8));
        }
        int sampleBytes = record.profileLength - image::kProfileHeaderBytes;
        if (family != logbook::ProfileFamily::Plain) {
            out.push_back(static_cast<std::uint8_t>(record.profileExtra & 0xFF));
            out.push_back(static_cast<std::uint8_t>(record.profileExtra >> 8));
            sampleBytes -= 2;
        }
        const std::vector<std::uint8_t> samples
            = logbook::paddedProfileBytes(record, static_cast<std::size_t>(std::max(sampleBytes, 0)));
        out.insert(out.end(), samples.begin(), samples.end());
        return out;
    }

    std::string checkDive(const ImageDive &dive)
    {
        if (dive.maxDepthCm < 1 || dive.maxDepthCm > 7999)
            return "maximum depth outside 1..7999 cm";
        if (dive.durationMinutes < 1 || dive.durationMinutes > 199)
            return "duration outside 1..199 minutes";
        if (dive.surfaceIntervalMinutes && (*dive.surfaceIntervalMinutes < 0 || *dive.surfaceIntervalMinutes > 5999))
            return "surface interval outside 0..5999 minutes";
        if (dive.altitudeClass < 1 || dive.altitudeClass > 4)
            return "altitude class outside 1..4";
        if (dive.warnings & ~image::flag::kWarnings)
            return "warning bits other than 0, 3, 4 and 5";
        return {};
    }

} // namespace

EncodedImage encodeImage(const ImageScript &script, const logbook::ComputerInfo *computers, const common::Clock &clock)
{
    EncodedImage result;
    auto fail = [&](std::string why) {
        result.error = std::move(why);
        return result;
    };
    const int m = static_cast<int>(script.dives.size());
    if (m > image::kLogbookEntries)
        return fail("more than 37 dives");
    if (script.logbookIndex < 0 || script.logbookIndex >= image::kLogbookEntries)
        return fail("logbook index outside 0..36");
    if (script.ringStart < 0 || script.ringStart >= image::kProfileRingSize)
        return fail("ring start outside 0..1535");
    if (script.settings.serialNumber > 0xFFFFFF)
        return fail("serial number wider than 24 bits");

    Image img {};
    for (std::size_t i = 0; i < image::kProfileRing; ++i)
        img[i] = image::reverseBits(0x55);

    const std::int64_t now = clock.now();
    for (int i = 0; i < m; ++i) {
        const ImageDive &dive = script.dives[static_cast<std::size_t>(i)];
        if (std::string why = checkDive(dive); !why.empty())
            return fail("dive " + std::to_string(i + 1) + ": " + why);
        common::LocalDateTime start = dive.start;
        start.second = 0;
        const std::int64_t halfSeconds = 2 * (now - clock.fromLocal(start));
        if (halfSeconds < 0 || halfSeconds >= script.clock)
            return fail("dive " + std::to_string(i + 1) + " lies outside the computer's clock");

        // The newest dive sits just before the index, where the next one will go.
        const int index = (script.logbookIndex + image::kLogbookEntries - m + i) % image::kLogbookEntries;
        const std::size_t at = image::kLogbookRing + static_cast<std::size_t>(index) * image::kEntrySize;
        std::uint8_t flags = dive.warnings;
        flags |= static_cast<std::uint8_t>((dive.altitudeClass - 1) << 6);
        if (dive.durationMinutes >= 100)
            flags |= image::flag::kHundredMinutes;
        if (dive.surfaceIntervalMinutes) {
            flags |= image::flag::kSurfaceInterval;
            img[at + 4] = toBcd(*dive.surfaceIntervalMinutes / 60);
            img[at + 5] = toBcd(*dive.surfaceIntervalMinutes % 60);
        }
        img[at] = flags;
        img[at + 1] = toBcd(dive.durationMinutes % 100);
        putBigEndian(img, at + 2, static_cast<std::uint16_t>(depthWord(dive.maxDepthCm)), 2);
        img[at + 6] = dive.pressureDrop;
        putBigEndian(img, at + 7, script.clock - static_cast<std::uint32_t>(halfSeconds), 4);
        img[at + 11] = dive.temperatureQuarters;
    }

    // Profiles, oldest first, from the ring start on; one spare byte after the
    // newest, and the end pointer just past it.
    const logbook::ProfileFamily family = familyOf(script.settings.type, computers);
    std::vector<std::uint8_t> ring;
    bool seenProfile = false;
    for (int i = 0; i < m; ++i) {
        const ImageDive &dive = script.dives[static_cast<std::size_t>(i)];
        if (dive.profile.depths.empty()) {
            if (seenProfile)
                return fail("dive " + std::to_string(i + 1) + " has no profile but an older dive has one");
            continue;
        }
        seenProfile = true;
        const std::vector<std::uint8_t> bytes = profileBytes(dive.profile, family);
        const std::size_t headerEnd = family == logbook::ProfileFamily::Plain ? 18 : 20;
        if (std::find(bytes.begin() + 1, bytes.begin() + static_cast<std::ptrdiff_t>(headerEnd), 0xFF)
            != bytes.begin() + static_cast<std::ptrdiff_t>(headerEnd))
            return fail("dive " + std::to_string(i + 1) + ": a profile header byte is 0xFF");
        ring.insert(ring.end(), bytes.begin(), bytes.end());
    }
    if (seenProfile)
        ring.push_back(0x00);
    if (ring.size() > static_cast<std::size_t>(image::kProfileRingSize))
        return fail("the profiles do not fit into the ring");
    Filler filler(script.settings.serialNumber ^ script.clock);
    for (int i = 0; i < image::kProfileRingSize; ++i) {
        const int p = (script.ringStart + i) % image::kProfileRingSize;
        img[image::kProfileRing + static_cast<std::size_t>(p)]
            = static_cast<std::size_t>(i) < ring.size() ? ring[static_cast<std::size_t>(i)] : filler.next();
    }
    const int end = (script.ringStart + static_cast<int>(ring.size())) % image::kProfileRingSize;

    const ImageSettings &s = script.settings;
    img[image::kType] = s.type;
    img[image::kUnitsAndBeeper] = static_cast<std::uint8_t>((s.imperialUnits ? 0x01 : 0) | (s.beeper ? 0x02 : 0));
    img[image::kPpO2] = s.ppO2Step;
    img[image::kAirReserve] = s.airReserve;
    img[image::kBreathing] = s.breathingSensitivity;
    putBigEndian(img, image::kSerial, s.serialNumber, 3);
    img[image::kBattery] = s.battery;
    putBigEndian(img, image::kTotalDives, std::max<std::uint32_t>(s.totalDives, static_cast<std::uint32_t>(m)), 2);
    img[image::kLogbookIndex] = static_cast<std::uint8_t>(script.logbookIndex);
    img[image::kEndPointer] = static_cast<std::uint8_t>(end & 0xFF);
    img[image::kEndPointer + 1] = static_cast<std::uint8_t>(((end >> 8) & 7) << 1);
    putBigEndian(img, image::kClock, script.clock, 4);

    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < image::kChecksummed; ++i)
        sum = static_cast<std::uint16_t>(sum + img[i]);
    if (!script.checksum)
        sum = 0;
    img[image::kChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
    img[image::kChecksum + 1] = static_cast<std::uint8_t>(sum >> 8);

    result.bytes.resize(image::kSize);
    std::transform(img.begin(), img.end(), result.bytes.begin(), image::reverseBits);
    return result;
}

namespace {

    class Random {
    public:
        explicit Random(std::uint32_t seed)
            : m_state(seed)
        {
        }
        int range(int low, int high) // inclusive
        {
            m_state = m_state * 1103515245u + 12345u;
            return low + static_cast<int>((m_state >> 8) % static_cast<std::uint32_t>(high - low + 1));
        }

    private:
        std::uint32_t m_state;
    };

    // A recreational dive: down at about 15 m a minute, a deeper part and a
    // shallower one, up at 10 m a minute with three minutes at 5 m.
    logbook::ProfileScript divePlan(int maxDepthCm, int minutes, Random &random)
    {
        logbook::ProfileScript script;
        const float bottom = static_cast<float>(maxDepthCm) / 100.0f;
        const int samples = minutes * 3;
        const int descent = std::max(1, static_cast<int>(bottom / 5.0f));
        const int ascent = std::max(1, static_cast<int>(bottom / 3.3f));
        const int stop = 9;
        const int level = std::max(1, samples - descent - ascent - stop);
        const float upper = std::max(6.0f, bottom * 0.6f);
        for (int k = 0; k < samples; ++k) {
            float depth = 0;
            if (k < descent) {
                depth = bottom * static_cast<float>(k + 1) / static_cast<float>(descent);
            } else if (k < descent + level) {
                const int at = k - descent;
                depth = at < level / 3 ? bottom - static_cast<float>(random.range(0, 8)) * 0.15625f
                                       : upper + static_cast<float>(random.range(-6, 6)) * 0.15625f;
            } else if (k < descent + level + ascent / 2) {
                depth = upper
                    - (upper - 5.0f) * static_cast<float>(k - descent - level + 1) / static_cast<float>(ascent / 2 + 1);
            } else if (k < descent + level + ascent / 2 + stop) {
                depth = 5.0f;
            } else {
                depth = 5.0f * static_cast<float>(samples - k) / static_cast<float>(ascent - ascent / 2 + 1);
            }
            script.depths.push_back(depth);
            std::uint8_t warning = 0;
            if (k == descent + level + ascent / 2 - 1 && random.range(0, 3) == 0)
                warning = image::flag::kAscent;
            script.warnings.push_back(warning);
        }
        int c = 0;
        for (int g = 0; g < (samples + 2) / 3; ++g) {
            logbook::GroupLevels levels;
            const bool deep = g * 3 < descent + level / 3;
            levels.workload = static_cast<std::uint8_t>(3 * random.range(0, deep ? 4 : 2));
            if (deep && c < 24 && random.range(0, 2) == 0)
                c += 6;
            else if (!deep && c > 0 && random.range(0, 1) == 0)
                c -= 6;
            levels.levelC = static_cast<std::uint8_t>(c);
            levels.incrementA = g > 0 && g % 9 == 0 ? 6 : 0;
            script.groups.push_back(levels);
        }
        script.firstByte = static_cast<std::uint8_t>(0x10 + random.range(0, 15));
        script.header = { 20, static_cast<std::uint16_t>(random.range(100, 900)), 0, 0, 0, 0, 0, 0 };
        script.extraWord = static_cast<std::uint16_t>(random.range(0x2100, 0x2140));
        return script;
    }

    struct Holiday {
        std::uint8_t type = 30;
        std::uint32_t serial = 0;
        int lifeDives = 0; // dives in the computer's life
        int shownDives = 0; // dives still in its logbook
        int profiles = 0; // newest dives with a profile
        int ringStart = 0;
        bool airIntegrated = false;
        bool imperial = false;
        std::uint32_t seed = 1;
    };

    ImageScript holidayScript(const Holiday &h, const common::Clock &clock)
    {
        ImageScript script;
        Random random(h.seed);
        script.settings.type = h.type;
        script.settings.serialNumber = h.serial;
        script.settings.totalDives = static_cast<std::uint16_t>(h.lifeDives);
        script.settings.battery = static_cast<std::uint8_t>(random.range(120, 250));
        script.settings.beeper = random.range(0, 3) != 0;
        script.settings.imperialUnits = h.imperial;
        script.settings.ppO2Step = static_cast<std::uint8_t>(random.range(2, 8));
        if (h.airIntegrated) {
            script.settings.airReserve = static_cast<std::uint8_t>(random.range(3, 6) * 10);
            script.settings.breathingSensitivity = static_cast<std::uint8_t>(random.range(2, 8) * 10);
        }
        script.logbookIndex = h.lifeDives % image::kLogbookEntries;
        script.ringStart = h.ringStart;
        // The computer was made some years before the holiday.
        script.clock = 2u * 86400u * static_cast<std::uint32_t>(random.range(700, 1500));

        // Two dives a day, the last day being the day before the transfer.
        const std::int64_t transfer = clock.now();
        for (int i = 0; i < h.shownDives; ++i) {
            const int day = (h.shownDives - i + 1) / 2; // days before the transfer
            const bool second = (h.shownDives - i) % 2 == 1;
            ImageDive dive;
            const int startMinute = second ? 14 * 60 + random.range(0, 90) : 9 * 60 + random.range(0, 60);
            common::LocalDateTime start = clock.toLocal(transfer - std::int64_t { 86400 } * day);
            start.hour = startMinute / 60;
            start.minute = startMinute % 60;
            start.second = 0;
            dive.start = start;
            dive.maxDepthCm = random.range(second ? 900 : 1500, second ? 1800 : 3900);
            dive.durationMinutes = random.range(second ? 45 : 32, second ? 65 : 52);
            if (second && i > 0)
                dive.surfaceIntervalMinutes = random.range(150, 260);
            dive.temperatureQuarters = static_cast<std::uint8_t>(random.range(84, 104));
            if (h.airIntegrated) {
                int bar = dive.durationMinutes * random.range(25, 40) / 10;
                if ((h.type & 0x0F) == 12)
                    bar = bar * 1000 / 1376; // these computers count in units of 1.376 bar
                dive.pressureDrop = static_cast<std::uint8_t>(std::min(bar, 250));
            }
            if (random.range(0, 9) == 0)
                dive.warnings = image::flag::kAscent;
            if (dive.maxDepthCm > 3500 && random.range(0, 1) == 0)
                dive.warnings |= image::flag::kDecompression;
            if (random.range(0, 14) == 0)
                dive.warnings |= image::flag::kWorkload;
            dive.altitudeClass = 1;
            if (i >= h.shownDives - h.profiles)
                dive.profile = divePlan(dive.maxDepthCm, dive.durationMinutes, random);
            script.dives.push_back(dive);
        }
        return script;
    }

} // namespace

std::vector<ExampleDump> exampleDumps(const logbook::ComputerInfo *computers)
{
    const common::FixedClock clock(kExampleTransferTime);
    const Holiday holidays[] = {
        { 30, 0x01A2C5, 12, 12, 4, 0, false, false, 11 },
        { 68, 0x02F0E1, 52, 37, 3, 1210, true, false, 22 },
        { 244, 0x03117A, 20, 20, 4, 300, true, true, 33 },
        { 164, 0x0480B2, 8, 8, 3, 0, true, false, 44 },
        { 28, 0x0512D0, 37, 37, 4, 777, true, false, 55 },
    };
    const char *names[] = { "plain-30.dp~", "airintegrated-68.dp~", "nitrox-244.dp~", "o2-164.dp~", "scale-28.dp~" };

    std::vector<ExampleDump> dumps;
    for (std::size_t i = 0; i < std::size(holidays); ++i) {
        const EncodedImage encoded = encodeImage(holidayScript(holidays[i], clock), computers, clock);
        dumps.push_back({ names[i], encoded.bytes });
    }

    // The damaged ones start from the plain computer's transfer.
    const std::vector<std::uint8_t> &plain = dumps.front().bytes;
    auto damaged = [&](const char *name, std::size_t at, std::uint8_t value) {
        Image img {};
        std::transform(plain.begin(), plain.end(), img.begin(), image::reverseBits);
        img[at] = value;
        // The index and pointer damage keeps a valid checksum: only the ring
        // bounds stand between it and a read outside the image.
        if (at != image::kChecksum) {
            std::uint16_t sum = 0;
            for (std::size_t k = 0; k < image::kChecksummed; ++k)
                sum = static_cast<std::uint16_t>(sum + img[k]);
            img[image::kChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
            img[image::kChecksum + 1] = static_cast<std::uint8_t>(sum >> 8);
        }
        std::vector<std::uint8_t> bytes(image::kSize);
        std::transform(img.begin(), img.end(), bytes.begin(), image::reverseBits);
        dumps.push_back({ name, bytes });
    };
    if (!plain.empty()) {
        damaged("transfer-bad-checksum.dp~", image::kChecksum,
            static_cast<std::uint8_t>(image::reverseBits(plain[image::kChecksum]) ^ 0x01));
        damaged("transfer-bad-index.dp~", image::kLogbookIndex, 200);
        damaged("transfer-bad-endpointer.dp~", image::kEndPointer + 1, 0x0E);
    }
    return dumps;
}

} // namespace zorv::transfer
