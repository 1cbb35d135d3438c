#include "logbook/logbookfile.h"

#include "common/atomicfile.h"
#include "common/bytes.h"
#include "common/cformat.h"
#include "common/fileset.h"
#include "common/strings.h"
#include "common/systemerror.h"
#include "common/translation.h"
#include "logbook/logbookfileinternal.h"
#include "logbook/profiledecoder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace zorv::logbook {

using common::StringId;

namespace fs = std::filesystem;
using namespace logbookfileinternal;

namespace {

    template <std::size_t N>
    void readShortString(common::ByteReader &in, std::array<char, N> &field, std::size_t capacity)
    {
        std::array<std::uint8_t, 255> text;
        const std::size_t length = in.u8();
        in.bytes(text.data(), length);
        // A text ends at its first zero, as the save writes it: bytes after one would not
        // come back, and a record read would differ from the same record saved and read again.
        const std::size_t kept = std::min(length, capacity);
        for (std::size_t i = 0; i < kept && text[i] != 0; ++i)
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

    std::string notAFile(const std::string &path)
    {
        return common::cformat(common::tr("Impossible de lire « %s » : ce n'est pas un fichier."),
            fs::path(path).filename().string().c_str());
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

Result LogbookFile::loadFromPath(Logbook &logbook, const std::string &path)
{
    if (path.empty())
        return failure(Status::NotFound, common::tr("Aucun nom de fichier n'est donné."));
    return load(logbook, common::LogbookPaths::resolve(path));
}

Result LogbookFile::load(Logbook &logbook, const common::LogbookPaths &set)
{
    const std::string path = set.given().string();
    if (set.empty())
        return failure(Status::NotFound, common::tr("Aucun nom de fichier n'est donné."));
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
        return failure(Status::NotFound, common::fileErrorText(common::tr("Impossible d'ouvrir"), path, ENOENT));
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
            common::cformat(common::tr("Les données supplémentaires de « %s » sont lues dans « %s », à côté du lien : "
                                       "le dossier du carnet n'en a pas. Elles y seront enregistrées.\n"),
                path.c_str(), addPath.string().c_str()));
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

} // namespace zorv::logbook
