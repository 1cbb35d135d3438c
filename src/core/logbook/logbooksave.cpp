#include "common/bytes.h"
#include "common/fileset.h"
#include "common/hugepageallocator.h"
#include "common/translation.h"
#include "logbook/logbookfile.h"
#include "logbook/logbookfileinternal.h"
#include "logbook/profiledecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zorv::logbook {

namespace fs = std::filesystem;
using namespace logbookfileinternal;

namespace {

    // ---- writing ----

    // Writes into a buffer sized beforehand, so a save of a large logbook is one allocation.
    class Out {
    public:
        explicit Out(std::uint8_t *at)
            : m_at(at)
        {
        }
        void u8(std::uint8_t v) { *m_at++ = v; }
        void u16(std::uint16_t v)
        {
            *m_at++ = static_cast<std::uint8_t>(v & 0xFF);
            *m_at++ = static_cast<std::uint8_t>(v >> 8);
        }
        void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
        void u32(std::uint32_t v)
        {
            for (int i = 0; i < 4; ++i)
                *m_at++ = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
        }
        void bytes(const void *data, std::size_t n)
        {
            if (n != 0)
                std::memcpy(m_at, data, n);
            m_at += n;
        }
        void zeros(std::size_t n)
        {
            if (n != 0)
                std::memset(m_at, 0, n);
            m_at += n;
        }
        template <std::size_t N> void shortString(const std::array<char, N> &field, std::size_t capacity)
        {
            const std::size_t length = std::min(fixedText(field).size(), capacity);
            u8(static_cast<std::uint8_t>(length));
            bytes(field.data(), length);
        }

    private:
        std::uint8_t *m_at;
    };

    // The profile block as it goes to disk. A profileLength that does not fit the
    // computer's layout is cut to one that does, so the file stays readable.
    struct ProfileShape {
        bool extraWord = false;
        std::size_t raw = 0;
        std::size_t length = 0;
    };

    ProfileShape profileShape(const DiveRecord &d, const ComputerInfo *info)
    {
        ProfileShape shape;
        if (d.profileLength == 0)
            return shape;
        shape.extraWord = carriesExtraWord(info, d.computerType);
        const std::size_t fixed = kProfileFixedSize + (shape.extraWord ? kExtraWordSize : 0);
        shape.raw = d.profileLength > fixed
            ? std::min<std::size_t>(d.profileLength - fixed, static_cast<std::size_t>(kProfileBytesCapacity))
            : 0;
        shape.length = fixed + shape.raw;
        return shape;
    }

    std::size_t recordSize(const DiveRecord &d, const ProfileShape &shape)
    {
        auto text = [](const auto &field, std::size_t capacity) { return std::min(fixedText(field).size(), capacity); };
        return kMinRecordSize + text(d.place, kPlaceLength) + text(d.site, kSiteLength)
            + text(d.otherActivities, kOtherActivitiesLength) + text(d.partners, kPartnersLength)
            + text(d.comment, kCommentLength) + shape.length;
    }

    void writeRecord(Out &out, const DiveRecord &d, const ProfileShape &shape)
    {
        out.u16(d.recordMark);
        out.u32(d.date);
        out.i16(d.entryTime);
        out.shortString(d.place, kPlaceLength);
        out.shortString(d.site, kSiteLength);
        out.u8(d.altitudeClass);
        out.i16(d.surfaceInterval);
        out.u8(d.weather);
        out.i16(d.airTemperature);
        out.u8(d.suit);
        out.i16(d.tankVolume);
        out.i16(d.maxDepth);
        out.i16(d.duration);
        out.i16(d.minWaterTemperature);
        out.i16(d.airUsed);
        out.u16(d.diveType);
        out.u16(d.activities);
        out.shortString(d.otherActivities, kOtherActivitiesLength);
        out.shortString(d.partners, kPartnersLength);
        out.shortString(d.comment, kCommentLength);
        out.u16(d.warnings);
        out.i16(d.diveNumber);
        out.u32(d.computerLong);
        out.u8(d.computerType);
        out.u8(d.computerFlags);
        out.bytes(d.computerReserved.data(), d.computerReserved.size());
        out.u16(static_cast<std::uint16_t>(shape.length));
        if (shape.length == 0)
            return;
        out.u8(d.profileFirstByte);
        for (std::uint16_t word : d.profileHeader)
            out.u16(word);
        if (shape.extraWord)
            out.u16(d.profileExtra);
        // The stream is stored without its trailing zeros; the file holds them.
        const std::size_t stored = std::min(shape.raw, d.profileBytes.size());
        out.bytes(d.profileBytes.data(), stored);
        out.zeros(shape.raw - stored);
    }

    struct LogHeader {
        std::uint32_t headerLong = 0;
        std::uint16_t wordA = 0;
        std::uint16_t wordB = 0;
    };

    // A file's bytes as they are built for saving. Huge pages again: first touching a
    // .log and .add of 10,000 dives page by page cost a third of a save.
    using FileImage = std::vector<std::uint8_t, common::HugePageAllocator<std::uint8_t>>;

    FileImage buildLog(const LogHeader &header, const std::vector<const DiveRecord *> &dives, const ComputerInfo *info)
    {
        std::vector<ProfileShape> shapes;
        shapes.reserve(dives.size());
        std::size_t size = kLogHeaderSize;
        for (const DiveRecord *d : dives) {
            shapes.push_back(profileShape(*d, info));
            size += recordSize(*d, shapes.back());
        }
        FileImage bytes(size);
        Out out(bytes.data());
        out.u16(kFormatVersion);
        out.u32(header.headerLong);
        out.u16(static_cast<std::uint16_t>(dives.size()));
        out.u16(header.wordA);
        out.u16(header.wordB);
        for (std::size_t i = 0; i < dives.size(); ++i)
            writeRecord(out, *dives[i], shapes[i]);
        return bytes;
    }

    // avgDepth goes to whole centimetres, cut toward zero (12.347 m is 1234 cm). The cut
    // is taken at a tenth of a millimetre: cut straight from the float, a value read
    // back from 1234 cm (12.3399999 m) would lose a centimetre on every save.
    std::int16_t avgDepthCm(float avgDepth)
    {
        if (!(avgDepth > 0.0f))
            return 0;
        const double tenthsOfMm = std::round(static_cast<double>(avgDepth) * 10000.0);
        return static_cast<std::int16_t>(std::min(tenthsOfMm / 100.0, 32767.0));
    }

    FileImage buildAdd(const std::vector<const DiveRecord *> &dives, const std::array<std::uint8_t, 300> &trailer)
    {
        FileImage bytes(kAddHeaderSize + kAddEntrySize * dives.size());
        Out out(bytes.data());
        out.u32(kAddMagicA);
        out.u32(kAddMagicB);
        out.u32(static_cast<std::uint32_t>(dives.size()));
        std::uint8_t *entry = bytes.data() + kAddHeaderSize;
        for (const DiveRecord *d : dives) {
            ExtraBlock block = d->extra;
            block.avgDepthCm = avgDepthCm(d->avgDepth);
            block.serialize(entry);
            std::memcpy(entry + ExtraBlock::kSize, trailer.data(), kTrailerSize);
            entry += kAddEntrySize;
        }
        return bytes;
    }

    std::vector<const DiveRecord *> allDives(const Logbook &logbook)
    {
        std::vector<const DiveRecord *> dives;
        dives.reserve(logbook.dives().size());
        for (const DiveRecord &d : logbook.dives())
            dives.push_back(&d);
        return dives;
    }

    // The .log and the .add are replaced as one unit: entries of the .add are matched
    // to dives by position, so a new .log with an old .add attaches supplementary
    // fields to the wrong dives after an insertion.
    Result writeFileSet(const common::LogbookPaths &set, const FileImage &log, const FileImage *add)
    {
        if (set.empty())
            return failure(Status::IoError, common::tr("Aucun nom de fichier n'est donné."));
        std::vector<common::FileToSave> files { { set.log(), log } };
        if (add != nullptr)
            files.push_back({ set.add(), *add });
        return common::saveFileSet(files, &set);
    }

} // namespace

std::vector<std::uint8_t> LogbookFile::logBytes(const Logbook &logbook)
{
    const LogHeader header { logbook.m_header.headerLong, logbook.m_header.wordA, logbook.m_header.wordB };
    const FileImage image = buildLog(header, allDives(logbook), logbook.computerInfo());
    return { image.begin(), image.end() };
}

std::vector<std::uint8_t> LogbookFile::addBytes(const Logbook &logbook)
{
    const FileImage image = buildAdd(allDives(logbook), logbook.m_addTrailer);
    return { image.begin(), image.end() };
}

Result LogbookFile::save(Logbook &logbook, const std::string &path)
{
    return save(logbook, common::LogbookPaths::resolve(path));
}

Result LogbookFile::save(Logbook &logbook, const common::LogbookPaths &set)
{
    if (logbook.dives().size() > kMaxFileDives)
        return failure(Status::Refused, common::tr("Un carnet contient au plus 32767 plongées."));
    if (Result kept = keepBackupIfPending(set); !kept)
        return kept;
    const std::vector<const DiveRecord *> dives = allDives(logbook);
    const LogHeader header { logbook.m_header.headerLong, logbook.m_header.wordA, logbook.m_header.wordB };
    const FileImage log = buildLog(header, dives, logbook.computerInfo());
    FileImage add;
    if (logbook.mode() == Mode::Advanced)
        add = buildAdd(dives, logbook.m_addTrailer);
    Result result = writeFileSet(set, log, logbook.mode() == Mode::Advanced ? &add : nullptr);
    if (result) {
        logbook.m_modified = false;
        logbook.setPath(set.given().string());
    }
    return result;
}

Result LogbookFile::saveSelection(
    const Logbook &logbook, const std::string &path, const std::function<bool(int position)> &selected)
{
    std::vector<const DiveRecord *> dives;
    for (int position = 1; position <= logbook.diveCount(); ++position) {
        if (selected(position))
            dives.push_back(logbook.dive(position));
    }
    if (dives.size() > kMaxFileDives)
        return failure(Status::Refused, common::tr("Un carnet contient au plus 32767 plongées."));
    const auto count = static_cast<std::uint16_t>(dives.size());
    const LogHeader header { 0, static_cast<std::uint16_t>(count + 20), 20 };
    const FileImage log = buildLog(header, dives, logbook.computerInfo());
    FileImage add;
    if (logbook.mode() == Mode::Advanced)
        add = buildAdd(dives, logbook.m_addTrailer);
    return writeFileSet(common::LogbookPaths::resolve(path), log, logbook.mode() == Mode::Advanced ? &add : nullptr);
}

} // namespace zorv::logbook
