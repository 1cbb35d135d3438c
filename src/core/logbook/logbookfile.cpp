#include "logbook/logbookfile.h"

#include "common/atomicfile.h"
#include "common/bytes.h"
#include "common/fileset.h"
#include "common/hugepageallocator.h"
#include "common/strings.h"
#include "common/systemerror.h"
#include "logbook/profiledecoder.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <system_error>

namespace zorv::logbook {

using common::StringId;

/*
 * .log: header (u16 version 161, u32 headerLong, i16 dive count, u16 word A, u16 word B),
 * then each record field by field in DiveRecord order. Texts are short strings (a length
 * byte and the stored characters, no terminator). The profile block follows profileLength
 * when it is not 0: first byte, eight header words, profileExtra for nitrox and O2
 * computers, then the raw bytes, so profileLength counts 17 (19) bytes plus the raw part.
 *
 * .add: u32 594, u32 110, u32 count, then per dive the 550-byte ExtraBlock image and a
 * 300-byte trailer. Entries are matched to dives by position.
 */

namespace fs = std::filesystem;

namespace {

    constexpr std::uint16_t kFormatVersion = 161;
    constexpr std::size_t kLogHeaderSize = 12;
    // A record without profile and with five empty texts.
    constexpr std::size_t kMinRecordSize = 52;
    constexpr std::size_t kProfileFixedSize = 17;
    constexpr std::size_t kExtraWordSize = 2;
    constexpr std::size_t kAddHeaderSize = 12;
    constexpr std::size_t kTrailerSize = 300;
    constexpr std::size_t kAddEntrySize = ExtraBlock::kSize + kTrailerSize;
    constexpr std::uint32_t kAddMagicA = 594;
    constexpr std::uint32_t kAddMagicB = 110;
    constexpr std::size_t kMaxFileDives = 32767;

    using common::Result;
    using common::Status;

    Result failure(Status status, std::string message)
    {
        return Result::failure(status, std::move(message));
    }

    Result badFormat()
    {
        return failure(Status::BadFormat, std::string(common::str(StringId::BadFormat)));
    }

    bool carriesExtraWord(const ComputerInfo *info, std::uint8_t type)
    {
        return info != nullptr && info->carriesExtraWord(type);
    }

    // ---- reading ----

    template <std::size_t N>
    void readShortString(common::ByteReader &in, std::array<char, N> &field, std::size_t capacity)
    {
        std::array<std::uint8_t, 255> text;
        const std::size_t length = in.u8();
        in.bytes(text.data(), length);
        const std::size_t kept = std::min(length, capacity);
        for (std::size_t i = 0; i < kept; ++i)
            field[i] = static_cast<char>(text[i]);
    }

    // Returns false when the record is cut short or its profile block cannot be
    // one the program wrote; nothing is read or written past a buffer either way.
    bool readRecord(common::ByteReader &in, DiveRecord &d, const ComputerInfo *info)
    {
        d.recordMark = in.u16();
        d.date = in.u32();
        d.entryTime = in.i16();
        readShortString(in, d.place, kPlaceLength);
        readShortString(in, d.site, kSiteLength);
        d.altitudeClass = in.u8();
        d.surfaceInterval = in.i16();
        d.weather = in.u8();
        d.airTemperature = in.i16();
        d.suit = in.u8();
        d.tankVolume = in.i16();
        d.maxDepth = in.i16();
        d.duration = in.i16();
        d.minWaterTemperature = in.i16();
        d.airUsed = in.i16();
        d.diveType = in.u16();
        d.activities = in.u16();
        readShortString(in, d.otherActivities, kOtherActivitiesLength);
        readShortString(in, d.partners, kPartnersLength);
        readShortString(in, d.comment, kCommentLength);
        d.warnings = in.u16();
        d.diveNumber = in.i16();
        d.computerLong = in.u32();
        d.computerType = in.u8();
        d.computerFlags = in.u8();
        in.bytes(d.computerReserved.data(), d.computerReserved.size());
        d.profileLength = in.u16();
        if (in.failed())
            return false;
        if (d.profileLength == 0)
            return true;

        const bool extraWord = carriesExtraWord(info, d.computerType);
        const std::size_t fixed = kProfileFixedSize + (extraWord ? kExtraWordSize : 0);
        if (d.profileLength < fixed || d.profileLength - fixed > static_cast<std::size_t>(kProfileBytesCapacity))
            return false;
        d.profileFirstByte = in.u8();
        for (std::uint16_t &word : d.profileHeader)
            word = in.u16();
        if (extraWord)
            d.profileExtra = in.u16();
        d.profileBytes.resize(d.profileLength - fixed);
        in.bytes(d.profileBytes.data(), d.profileBytes.size());
        if (in.failed())
            return false;
        trimProfileBytes(d);
        decodeProfile(d, info != nullptr && info->isO2(d.computerType));
        return true;
    }

    // Reads .add content as it comes, in pieces of any size, so that a large .add is
    // never held whole. A short or missing .add file is no error: older logbooks were
    // saved without one, and dives past its end keep blank supplementary fields.
    class ExtrasReader {
    public:
        explicit ExtrasReader(DiveArray &dives)
            : m_dives(dives)
        {
        }

        void feed(std::span<const std::uint8_t> bytes)
        {
            while (!bytes.empty() && m_next < m_dives.size()) {
                const std::size_t want = wanted() - m_pending.size();
                const std::size_t take = std::min(want, bytes.size());
                m_pending.insert(m_pending.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
                bytes = bytes.subspan(take);
                if (m_pending.size() == wanted())
                    complete();
            }
        }

        // The trailer of the last whole entry read, if any.
        const std::optional<std::array<std::uint8_t, kTrailerSize>> &trailer() const { return m_trailer; }

    private:
        enum class Part {
            Header,
            Block,
            Trailer,
        };

        std::size_t wanted() const
        {
            switch (m_part) {
            case Part::Header:
                return kAddHeaderSize;
            case Part::Block:
                return ExtraBlock::kSize;
            case Part::Trailer:
                break;
            }
            return kTrailerSize;
        }

        void complete()
        {
            if (m_part == Part::Header) {
                m_part = Part::Block;
            } else if (m_part == Part::Block) {
                DiveRecord &d = m_dives[m_next];
                d.extra = ExtraBlock::deserialize(m_pending.data());
                if (d.extra.avgDepthCm > 0)
                    d.avgDepth = static_cast<float>(d.extra.avgDepthCm * 0.01);
                m_part = Part::Trailer;
            } else {
                m_trailer.emplace();
                std::memcpy(m_trailer->data(), m_pending.data(), kTrailerSize);
                m_part = Part::Block;
                ++m_next;
            }
            m_pending.clear();
        }

        DiveArray &m_dives;
        Part m_part = Part::Header;
        std::size_t m_next = 0;
        std::vector<std::uint8_t> m_pending;
        std::optional<std::array<std::uint8_t, kTrailerSize>> m_trailer;
    };

    // A .log file as read: its dives before the .add fills in their supplementary
    // fields, and what its header says.
    struct LogContent {
        DiveArray dives;
        std::uint32_t headerLong = 0;
        std::uint16_t wordA = 0;
        std::uint16_t wordB = 0;
        // The header's count rules, as it always has; but the bytes past it are dives or
        // data the user would lose on the next save, so they are kept in a backup then.
        bool holdsMore = false;
        // From the last whole .add entry; without one the logbook keeps the trailer it had.
        std::optional<std::array<std::uint8_t, kTrailerSize>> addTrailer;
    };

    // The longest record: five texts of 255 characters and the largest profile block.
    constexpr std::size_t kMaxRecordSize
        = kMinRecordSize + 5 * 255 + kProfileFixedSize + kExtraWordSize + kProfileBytesCapacity;

    // Reads .log content as it comes, in pieces of any size. It holds back only
    // what may be the start of a record until the rest arrives.
    class LogParser {
    public:
        // `fileSize` bounds the room reserved for the dives the header counts: a lying
        // header must not reserve room for dives the file cannot hold.
        LogParser(const ComputerInfo *info, std::size_t fileSize, LogContent &out)
            : m_info(info)
            , m_fileSize(fileSize)
            , m_out(out)
        {
        }

        void feed(std::span<const std::uint8_t> bytes)
        {
            if (m_failed || bytes.empty())
                return;
            if (m_headerRead && m_remainingDives == 0) {
                m_out.holdsMore = true;
                return;
            }
            if (m_held.empty()) {
                const std::size_t used = parse(bytes, false);
                if (!m_failed)
                    m_held.assign(bytes.begin() + static_cast<std::ptrdiff_t>(used), bytes.end());
                return;
            }
            m_held.insert(m_held.end(), bytes.begin(), bytes.end());
            const std::size_t used = parse(m_held, false);
            m_held.erase(m_held.begin(), m_held.begin() + static_cast<std::ptrdiff_t>(used));
        }

        // Whether more bytes can change nothing: the file failed, or it holds more than
        // its dives and that is already known.
        bool settled() const { return m_failed || m_out.holdsMore; }

        // Reads what is left at the end of the file; false when the file is not a logbook.
        bool finish()
        {
            if (!m_failed)
                parse(m_held, true);
            m_held = {};
            return !m_failed && m_headerRead && m_remainingDives == 0;
        }

    private:
        // Parses what `bytes` holds in whole and returns how much of it was used.
        std::size_t parse(std::span<const std::uint8_t> bytes, bool atEnd)
        {
            std::size_t pos = 0;
            if (!m_headerRead) {
                if (bytes.size() < kLogHeaderSize && !atEnd)
                    return 0;
                common::ByteReader in(bytes);
                const std::uint16_t version = in.u16();
                m_out.headerLong = in.u32();
                const std::int16_t count = in.i16();
                m_out.wordA = in.u16();
                m_out.wordB = in.u16();
                if (in.failed() || version != kFormatVersion || count < 0
                    || static_cast<std::size_t>(count) * kMinRecordSize
                        > m_fileSize - std::min(m_fileSize, kLogHeaderSize)) {
                    m_failed = true;
                    return 0;
                }
                m_headerRead = true;
                m_remainingDives = count;
                m_out.dives.reserve(static_cast<std::size_t>(count));
                pos = kLogHeaderSize;
            }
            while (m_remainingDives > 0 && (atEnd || bytes.size() - pos >= kMaxRecordSize)) {
                common::ByteReader in(bytes.subspan(pos));
                if (!readRecord(in, m_out.dives.emplace_back(), m_info)) {
                    m_failed = true;
                    return pos;
                }
                pos = bytes.size() - in.remaining();
                --m_remainingDives;
            }
            if (m_remainingDives == 0 && pos < bytes.size()) {
                m_out.holdsMore = true;
                pos = bytes.size();
            }
            return pos;
        }

        const ComputerInfo *m_info;
        std::size_t m_fileSize;
        LogContent &m_out;
        std::vector<std::uint8_t> m_held;
        bool m_headerRead = false;
        bool m_failed = false;
        int m_remainingDives = 0;
    };

    Result reject(Logbook &logbook)
    {
        logbook.reset();
        logbook.setPath({});
        return badFormat();
    }

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

    std::string notAFile(const std::string &path)
    {
        return "Impossible de lire « " + fs::path(path).filename().string() + " » : ce n'est pas un fichier.";
    }

    // What loading found that the user must hear of, by resolved .log path, until
    // loadNotice() hands it out; and the files that were loaded holding more than
    // their header counted and have not been backed up yet.
    struct Pending {
        std::mutex mutex;
        std::set<std::string> backups;
        std::map<std::string, std::string> notices;
    };

    Pending &pending()
    {
        static Pending p;
        return p;
    }

    void markBackupPending(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        pending().backups.insert(set.log().string());
    }

    bool isBackupPending(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        return pending().backups.count(set.log().string()) > 0;
    }

    void backupDone(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        pending().backups.erase(set.log().string());
    }

    void addNotice(const common::LogbookPaths &set, const std::string &notice)
    {
        if (notice.empty())
            return;
        const std::lock_guard<std::mutex> guard(pending().mutex);
        pending().notices[set.log().string()] += notice;
    }

    std::string takeNotices(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        const auto it = pending().notices.find(set.log().string());
        if (it == pending().notices.end())
            return {};
        std::string text = std::move(it->second);
        pending().notices.erase(it);
        return text;
    }

    // The old set is copied a piece at a time, so a file of any size is kept without
    // being held in memory.
    Result keepBackupIfPending(const common::LogbookPaths &set)
    {
        if (!isBackupPending(set))
            return {};
        std::vector<common::FileToSave> files;
        std::error_code ec;
        if (fs::is_regular_file(set.log(), ec))
            files.push_back({ set.logBackup(), {}, set.log() });
        if (fs::is_regular_file(set.add(), ec))
            files.push_back({ set.addBackup(), {}, set.add() });
        if (Result r = common::saveFileSet(files, &set); !r)
            return r;
        backupDone(set);
        return {};
    }

    // The .log and the .add are replaced as one unit: entries of the .add are matched
    // to dives by position, so a new .log with an old .add attaches supplementary
    // fields to the wrong dives after an insertion.
    Result writeFileSet(const common::LogbookPaths &set, const FileImage &log, const FileImage *add)
    {
        if (set.empty())
            return failure(Status::IoError, "Aucun nom de fichier n'est donné.");
        std::vector<common::FileToSave> files { { set.log(), log } };
        if (add != nullptr)
            files.push_back({ set.add(), *add });
        return common::saveFileSet(files, &set);
    }

} // namespace

// A .log and .add file read, before they replace the logbook's dives.
struct LogbookFile::ParsedLog {
    LogContent content;
};

Result LogbookFile::load(Logbook &logbook, std::span<const std::uint8_t> logBytes,
    std::span<const std::uint8_t> addBytes, const std::string &path)
{
    ParsedLog parsed;
    LogParser dives(logbook.computerInfo(), logBytes.size(), parsed.content);
    dives.feed(logBytes);
    if (!dives.finish())
        return reject(logbook);
    ExtrasReader extras(parsed.content.dives);
    extras.feed(addBytes);
    parsed.content.addTrailer = extras.trailer();
    finishLoad(logbook, parsed, path);
    return {};
}

void LogbookFile::finishLoad(Logbook &logbook, ParsedLog &parsed, const std::string &path)
{
    LogContent &content = parsed.content;
    logbook.reset();
    logbook.m_dives = std::move(content.dives);
    if (content.addTrailer)
        logbook.m_addTrailer = *content.addTrailer;
    logbook.m_header = { content.headerLong, content.wordA, content.wordB };
    logbook.m_currentDive = static_cast<int>(logbook.m_dives.size());
    logbook.recomputeTotals();
    logbook.setPath(path);
    if (content.holdsMore && !path.empty())
        markBackupPending(common::LogbookPaths::resolve(path));
}

std::string LogbookFile::loadNotice(const std::string &path)
{
    if (path.empty())
        return {};
    const common::LogbookPaths set = common::LogbookPaths::resolve(path);
    std::string notice = takeNotices(set);
    if (isBackupPending(set))
        notice += "Le fichier « " + path
            + " » contient plus de données que son en-tête n'annonce de plongées ; seules celles-ci sont lues. Avant "
              "le premier enregistrement, il sera conservé sous « "
            + set.logBackup().string() + " ».";
    while (!notice.empty() && notice.back() == '\n')
        notice.pop_back();
    return notice;
}

Result LogbookFile::loadFromPath(Logbook &logbook, const std::string &path)
{
    if (path.empty())
        return failure(Status::NotFound, "Aucun nom de fichier n'est donné.");
    return load(logbook, common::LogbookPaths::resolve(path));
}

Result LogbookFile::load(Logbook &logbook, const common::LogbookPaths &set)
{
    const std::string path = set.given().string();
    if (set.empty())
        return failure(Status::NotFound, "Aucun nom de fichier n'est donné.");
    auto readable = common::prepareFileSetForReading(set);
    if (!readable)
        return readable.result();
    addNotice(set, readable->notice);
    // Every companion is named after the file the link points to, so the set stays
    // together; the .log and .add read are the set's own, or the finished files of a
    // save that this reader may not put in place.
    const fs::path &logFile = readable->log;
    const fs::path &addPath = readable->add;

    std::error_code ec;
    if (!fs::exists(path, ec) && !readable->readOnly)
        return failure(Status::NotFound, common::fileErrorText("Impossible d'ouvrir", path, ENOENT));
    // Folders and devices are refused before reading: their sizes mean nothing.
    if (!fs::is_regular_file(logFile, ec))
        return failure(Status::IoError, notAFile(path));
    // An .add file that exists but cannot be read must stop the load: a save in
    // advanced mode would otherwise replace it with blank entries.
    const bool hasAdd = fs::exists(addPath, ec);
    if (hasAdd && !fs::is_regular_file(addPath, ec))
        return failure(Status::IoError, notAFile(addPath.string()));
    if (hasAdd && set.addBesideLink())
        addNotice(set,
            "Les données supplémentaires de « " + path + " » sont lues dans « " + addPath.string()
                + " », à côté du lien : le dossier du carnet n'en a pas. Elles y seront enregistrées.\n");
    ParsedLog parsed;
    // The size only bounds what a lying header may reserve; the reading goes to the end.
    const std::uintmax_t size = fs::file_size(logFile, ec);
    LogParser dives(logbook.computerInfo(), ec ? SIZE_MAX : static_cast<std::size_t>(size), parsed.content);
    // Once the counted dives are read, one byte more tells that the file holds more;
    // the rest (a tail of any size) is left unread.
    if (const Result read = common::readFileInPiecesWhile(logFile,
            [&dives](auto piece) {
                dives.feed(piece);
                return !dives.settled();
            });
        !read)
        return read;
    const bool parsedWell = dives.finish();
    if (!parsedWell)
        parsed.content.dives = {};
    // An unreadable .add is reported before a malformed .log, and leaves the logbook as it was.
    if (hasAdd) {
        ExtrasReader extras(parsed.content.dives);
        const Result read = common::readFileInPieces(addPath, [&extras](auto piece) { extras.feed(piece); });
        if (!read)
            return failure(read.status() == Status::NotFound ? Status::IoError : read.status(), read.message());
        parsed.content.addTrailer = extras.trailer();
    }
    readable->lock = common::FolderLock();
    if (!parsedWell)
        return reject(logbook);
    finishLoad(logbook, parsed, path);
    return {};
}

Result LogbookFile::reload(Logbook &logbook)
{
    const std::string path = logbook.path();
    logbook.reset();
    Result result = loadFromPath(logbook, path);
    // A file that is there but cannot be read must not be overwritten by the next save.
    if (!result && result.status() != Status::NotFound && result.status() != Status::BadFormat)
        logbook.setPath({});
    return result;
}

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
        return failure(Status::Refused, "Un carnet contient au plus 32767 plongées.");
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
        return failure(Status::Refused, "Un carnet contient au plus 32767 plongées.");
    const auto count = static_cast<std::uint16_t>(dives.size());
    const LogHeader header { 0, static_cast<std::uint16_t>(count + 20), 20 };
    const FileImage log = buildLog(header, dives, logbook.computerInfo());
    FileImage add;
    if (logbook.mode() == Mode::Advanced)
        add = buildAdd(dives, logbook.m_addTrailer);
    return writeFileSet(common::LogbookPaths::resolve(path), log, logbook.mode() == Mode::Advanced ? &add : nullptr);
}

} // namespace zorv::logbook
