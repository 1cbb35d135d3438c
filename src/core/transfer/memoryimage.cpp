#include "transfer/memoryimage.h"

#include "common/cformat.h"
#include "common/clock.h"
#include "common/translation.h"
#include "logbook/computerinfo.h"
#include "logbook/daynumber.h"
#include "logbook/logbook.h"
#include "logbook/profiledecoder.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorv::transfer {

namespace image {

    std::uint8_t reverseBits(std::uint8_t byte)
    {
        std::uint8_t out = 0;
        for (int i = 0; i < 8; ++i)
            if (byte & (1u << i))
                out = static_cast<std::uint8_t>(out | (0x80u >> i));
        return out;
    }

    std::int16_t depthCentimetres(std::int16_t word)
    {
        // Single precision, and a fraction of exactly .5 rounds up: the computers'
        // own display rounds this way.
        const float f = static_cast<float>(word) * 0.24414061f;
        const float whole = std::trunc(f);
        int cm = static_cast<int>(whole);
        if ((f - whole) * 100.0f >= 50.0f)
            ++cm;
        return static_cast<std::int16_t>(cm);
    }

    std::int16_t pressureDrop(std::uint8_t byte, std::uint8_t computerType)
    {
        int hundredths = byte * 100;
        if ((computerType & 0x0F) == 12)
            hundredths = static_cast<int>(std::trunc(byte * 1.376344086 * 100.0));
        if (hundredths == 0)
            return logbook::kMissing;
        // Bytes from 239 on would pass the 16-bit field with the scale; 32766 keeps
        // them large instead of negative, and apart from the missing mark.
        return static_cast<std::int16_t>(std::min(hundredths, logbook::kMissing - 1));
    }

    int bcd(std::uint8_t byte)
    {
        return (byte >> 4) * 10 + (byte & 0x0F);
    }

} // namespace image

namespace {

    std::uint32_t bigEndian(const std::uint8_t *p, int bytes)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = (v << 8) | p[i];
        return v;
    }

    int endPointer(const std::array<std::uint8_t, image::kSize> &img)
    {
        return img[image::kEndPointer] + 256 * ((img[image::kEndPointer + 1] >> 1) & 7);
    }

    // The computer only knows the time elapsed since a dive, in half seconds on its
    // own clock; the date comes from the PC's clock at decoding.
    void setDiveTime(ComputerDive &dive, std::uint32_t imageClock)
    {
        const auto halfSeconds = static_cast<std::int32_t>(imageClock - dive.clockAtDive);
        const common::Clock &clock = common::clock();
        const common::LocalDateTime local = clock.toLocal(clock.now() - halfSeconds / 2);
        dive.date = logbook::dayNumber(local.day, local.month, local.year);
        dive.timeOfDay = static_cast<std::int16_t>(local.hour * 60 + local.minute + (local.second > 30 ? 1 : 0));
    }

} // namespace

namespace {

    common::Result refused()
    {
        return common::Result::failure(common::Status::BadFormat,
            common::tr("La somme de contrôle ne correspond pas, ou l'image pointe hors de ses anneaux."));
    }

} // namespace

std::optional<LastLogbookDive> lastLogbookDive(const logbook::Logbook &logbook)
{
    const logbook::DiveRecord *last = logbook.dive(logbook.diveCount());
    if (!last)
        return std::nullopt;
    return LastLogbookDive { last->date, last->entryTime, last->computerLong };
}

common::Result MemoryImage::load(std::span<const std::uint8_t> captured)
{
    m_dives.fill(ComputerDive {});
    m_count = 0;
    m_checksum = 0;
    if (captured.size() < image::kSize)
        return refused();

    std::array<std::uint8_t, image::kSize> img {};
    for (std::size_t i = 0; i < image::kSize; ++i)
        img[i] = image::reverseBits(captured[i]);

    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < image::kChecksummed; ++i)
        sum = static_cast<std::uint16_t>(sum + img[i]);
    const auto stored = static_cast<std::uint16_t>(img[image::kChecksum] | (img[image::kChecksum + 1] << 8));
    if (stored != 0 && stored != sum)
        return refused();
    // The index and the pointer have spare bits; a value past its ring would send
    // the walks into the settings block and beyond the image, so the image is
    // refused as a garbled transfer.
    if (img[image::kLogbookIndex] >= image::kLogbookEntries || endPointer(img) >= image::kProfileRingSize)
        return refused();

    m_image = img;
    m_checksum = stored;
    decode();
    // Without a checksum nothing tells line noise from a memory: a capture that a
    // stray 0x55 started early reads as entries of invented dives. Such an image
    // counts only when it could have come from a computer.
    if (stored == 0 && !plausible()) {
        m_dives.fill(ComputerDive {});
        m_count = 0;
        return common::Result::failure(common::Status::BadFormat,
            common::tr("L'image n'a pas de somme de contrôle et ne peut venir d'un ordinateur de plongée : erreur de "
                       "transmission, recommencez le transfert."));
    }
    return {};
}

bool MemoryImage::plausible() const
{
    const std::uint32_t imageClock = bigEndian(&m_image[image::kClock], 4);
    const auto total = static_cast<int>(bigEndian(&m_image[image::kTotalDives], 2));
    // A computer writes every entry of its life in turn: the walk meets a dive in
    // each entry it takes, and the newest just before the index.
    if (m_count != std::min(total, image::kLogbookEntries))
        return false;
    auto isBcd = [](std::uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; };
    const int w = m_image[image::kLogbookIndex];
    std::uint32_t previousClock = 0;
    // The entries decode() takes, in the same walk.
    for (int k = total < image::kLogbookEntries ? image::kLogbookEntries - total : 0; k < image::kLogbookEntries; ++k) {
        const std::uint8_t *e = &m_image[image::kLogbookRing
            + static_cast<std::size_t>((w + k) % image::kLogbookEntries) * image::kEntrySize];
        const std::uint32_t clock = bigEndian(e + 7, 4);
        const auto depth = static_cast<std::int16_t>(bigEndian(e + 2, 2));
        if (clock == 0 || image::depthCentimetres(depth) == 0 || image::bcd(e[1]) == 0)
            continue;
        // The ring is written in order, and a computer remembers no dive after the
        // moment it sends its memory.
        if (clock <= previousClock || clock > imageClock)
            return false;
        previousClock = clock;
        if (depth < 0 || !isBcd(e[1]))
            return false;
        if ((e[0] & image::flag::kSurfaceInterval) && (!isBcd(e[4]) || !isBcd(e[5]) || image::bcd(e[5]) >= 60))
            return false;
        // 40 degrees Celsius in quarters: warmer water is no dive site.
        if (e[11] > 160)
            return false;
    }
    return true;
}

void MemoryImage::decode()
{
    const std::uint8_t type = m_image[image::kType];
    const auto total = static_cast<int>(bigEndian(&m_image[image::kTotalDives], 2));
    const int w = m_image[image::kLogbookIndex];
    const std::uint32_t imageClock = bigEndian(&m_image[image::kClock], 4);

    // With fewer than 37 dives in its life the computer has not yet written the
    // entries that the walk would meet first.
    for (int k = total < image::kLogbookEntries ? image::kLogbookEntries - total : 0; k < image::kLogbookEntries; ++k) {
        const int index = (w + k) % image::kLogbookEntries;
        const std::uint8_t *e = &m_image[image::kLogbookRing + static_cast<std::size_t>(index) * image::kEntrySize];
        const std::uint8_t flags = e[0];

        ComputerDive dive;
        dive.maxDepth = image::depthCentimetres(static_cast<std::int16_t>(bigEndian(e + 2, 2)));
        auto duration = static_cast<std::uint8_t>(image::bcd(e[1]));
        if (flags & image::flag::kHundredMinutes)
            duration = static_cast<std::uint8_t>(duration + 100);
        dive.duration = duration;
        dive.clockAtDive = bigEndian(e + 7, 4);
        if (dive.maxDepth == 0 || dive.duration == 0 || dive.clockAtDive == 0)
            continue;

        dive.computerType = type;
        dive.pressureDrop = image::pressureDrop(e[6], type);
        if (flags & image::flag::kSurfaceInterval)
            dive.surfaceInterval = static_cast<std::int16_t>(image::bcd(e[4]) * 60 + image::bcd(e[5]));
        dive.warnings = flags & image::flag::kWarnings;
        dive.altitudeClass = static_cast<std::uint8_t>((flags >> 6) + 1);
        setDiveTime(dive, imageClock);
        dive.waterTemperature = static_cast<std::int16_t>(e[11] * 25);
        m_dives[static_cast<std::size_t>(m_count++)] = dive;
    }
    readProfiles();
}

/*
 * Each profile stands behind a 0xFF byte and ends at the next one. The walk starts
 * at the end pointer, so the bytes between it and the first 0xFF are the remains of
 * an overwritten profile. The newest profiles belong to the newest dives.
 */
void MemoryImage::readProfiles()
{
    const std::uint8_t *ring = &m_image[image::kProfileRing];
    const int size = image::kProfileRingSize;
    const int e = endPointer(m_image);

    std::vector<int> markers; // positions of the 0xFF bytes in walk order
    for (int i = 0; i < size; ++i) {
        const int p = (e + i) % size;
        if (ring[p] == 0xFF)
            markers.push_back(p);
    }
    const int n = static_cast<int>(markers.size());
    const int first = std::max(0, m_count - n);

    for (int j = 0; j < n && first + j < m_count; ++j) {
        ProfileBlock &block = m_dives[static_cast<std::size_t>(first + j)].profile;
        int p = (markers[static_cast<std::size_t>(j)] + 1) % size;
        auto next = [&] {
            const std::uint8_t b = ring[p];
            p = (p + 1) % size;
            return b;
        };
        block.firstByte = next();
        for (auto &word : block.header) {
            const std::uint8_t low = next();
            word = static_cast<std::uint16_t>(low | (next() << 8));
        }
        int count = 0;
        while (count < static_cast<int>(block.samples.size())) {
            const std::uint8_t b = ring[p];
            const int after = (p + 1) % size;
            if (b == 0xFF || after == e)
                break;
            block.samples[static_cast<std::size_t>(count++)] = b;
            p = after;
        }
        block.byteCount = static_cast<std::uint16_t>(image::kProfileHeaderBytes + count);
    }
}

std::optional<ComputerDive> MemoryImage::diveAt(int position) const
{
    if (position < 0 || position >= m_count)
        return std::nullopt;
    return m_dives[static_cast<std::size_t>(position)];
}

std::uint32_t MemoryImage::serialNumber() const
{
    return bigEndian(&m_image[image::kSerial], 3);
}

ComputerSettings MemoryImage::settings() const
{
    ComputerSettings s;
    s.serialNumber = serialNumber();
    s.type = m_image[image::kType];
    s.totalDives = static_cast<std::uint16_t>(bigEndian(&m_image[image::kTotalDives], 2));
    s.beeper = (m_image[image::kUnitsAndBeeper] & 0x02) != 0;
    s.imperialUnits = (m_image[image::kUnitsAndBeeper] & 0x01) != 0;
    // Single precision, as the computers' manuals print the values.
    s.maxPpO2 = static_cast<double>(1.2f + static_cast<float>(m_image[image::kPpO2]) * 0.05f);
    s.airReserve = m_image[image::kAirReserve];
    s.breathingSensitivity = m_image[image::kBreathing];
    const auto battery = static_cast<std::int16_t>(std::trunc(m_image[image::kBattery] * 39.0625));
    s.batteryPercent = static_cast<double>(static_cast<float>(battery) * 0.01f);
    return s;
}

NewDives MemoryImage::searchNewDives(const std::optional<LastLogbookDive> &last) const
{
    NewDives result;
    if (!last || last->date == 0) {
        // Offering nothing as new would leave the dialog with an empty list and
        // the accept button on.
        if (m_count > 0)
            result = { 0, true };
        return result;
    }
    // Down to position 0: the oldest decoded dive is new too when the logbook
    // stops before all 37 of them.
    for (int p = m_count - 1; p >= 0; --p) {
        const ComputerDive &dive = m_dives[static_cast<std::size_t>(p)];
        if (dive.clockAtDive == last->computerLong || last->date > dive.date
            || (last->date == dive.date && last->entryTime >= dive.timeOfDay))
            break;
        result = { p, true };
    }
    return result;
}

std::optional<logbook::DiveRecord> MemoryImage::toRecord(int position, const logbook::Logbook &logbook) const
{
    if (position < 0 || position >= m_count)
        return std::nullopt;
    const ComputerDive &dive = m_dives[static_cast<std::size_t>(position)];
    logbook::DiveRecord r;
    logbook.applyNewDiveDefaults(r);
    r.date = dive.date;
    r.entryTime = dive.timeOfDay;
    r.surfaceInterval = dive.surfaceInterval;
    r.duration = dive.duration;
    r.airUsed = dive.pressureDrop;
    r.warnings = static_cast<std::uint16_t>(dive.warnings | (dive.spare << 8));
    r.computerLong = dive.clockAtDive;
    r.computerType = dive.computerType;
    if (dive.pressureDrop == logbook::kMissing)
        r.computerFlags |= 0x01;
    r.altitudeClass = dive.altitudeClass;
    r.minWaterTemperature = dive.waterTemperature;
    r.maxDepth = dive.maxDepth;

    const ProfileBlock &block = dive.profile;
    r.profileLength = block.byteCount;
    if (block.byteCount != 0) {
        const logbook::ComputerInfo *computers = logbook.computerInfo();
        const bool extraWord = computers && computers->carriesExtraWord(dive.computerType);
        const bool o2 = computers && computers->isO2(dive.computerType);
        r.profileFirstByte = block.firstByte;
        r.profileHeader = block.header;
        const int sampleBytes = block.byteCount - image::kProfileHeaderBytes;
        int from = 0;
        if (extraWord) {
            // A profile cut off before its extra word keeps what there is of it.
            const std::uint8_t low = sampleBytes > 0 ? block.samples[0] : 0;
            const std::uint8_t high = sampleBytes > 1 ? block.samples[1] : 0;
            r.profileExtra = static_cast<std::uint16_t>(low | (high << 8));
            from = 2;
        }
        for (int i = from; i < sampleBytes; ++i)
            logbook::setProfileByte(r, static_cast<std::size_t>(i - from), block.samples[static_cast<std::size_t>(i)]);
        logbook::trimProfileBytes(r);
        logbook::decodeProfile(r, o2);
    }
    return r;
}

bool MemoryImage::convert(int position, logbook::Logbook &logbook) const
{
    const std::optional<logbook::DiveRecord> record = toRecord(position, logbook);
    return record && logbook.insertDive(*record);
}

AcceptedDives acceptNewDives(const MemoryImage &memory, const NewDives &found, logbook::Logbook &logbook)
{
    AcceptedDives result;
    for (int p = found.first; found.any && p < memory.diveCount(); ++p) {
        // Every position in range holds a dive, so a refusal means the logbook is full.
        if (memory.convert(p, logbook))
            ++result.added;
        else
            ++result.notFitted;
    }
    return result;
}

std::string notFittedMessage(const AcceptedDives &accepted)
{
    if (accepted.notFitted == 0)
        return {};
    const std::string dives
        = common::cformat(accepted.notFitted == 1 ? common::tr("%d plongée n'a pas pu être ajoutée")
                                                  : common::tr("%d plongées n'ont pas pu être ajoutées"),
            static_cast<int>(accepted.notFitted));
    return dives
        + common::cformat(common::tr(" : le carnet est plein, il contient au plus 32767 plongées. %d plongée(s) "
                                     "ajoutée(s). Enregistrez ce carnet et ouvrez-en un nouveau pour les suivantes."),
            static_cast<int>(accepted.added));
}

} // namespace zorv::transfer
