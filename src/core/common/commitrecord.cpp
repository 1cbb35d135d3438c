#include "common/atomicfile.h"
#include "common/fileset.h"
#include "common/filesetinternal.h"

#include <algorithm>
#include <climits>

namespace zorv::common {

namespace fs = std::filesystem;

namespace filesetinternal {

    namespace {

        /*
         * Commit record: "ZORVCMT1", u32 pair count, per pair the temporary's bare name (it
         * lies beside its target) and the target's name (bare when it lies beside the record,
         * so a folder that is moved or mounted elsewhere keeps its record valid; else
         * absolute), each u32 length and bytes, then u32 FNV-1a of everything before. All
         * little-endian.
         */
        constexpr std::string_view kRecordMagic = "ZORVCMT1";

        void putU32(std::string &out, std::uint32_t v)
        {
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        }

        std::uint32_t checksum(std::string_view bytes)
        {
            return static_cast<std::uint32_t>(fnv1a64(bytes) & 0xFFFFFFFFu);
        }

        fs::path storedForm(const fs::path &path, const fs::path &dir)
        {
            return folderOf(path) == dir ? path.filename() : fs::absolute(path).lexically_normal();
        }

    } // namespace

    std::string encodeRecord(const std::vector<RenamePair> &pairs, const fs::path &dir)
    {
        std::string out(kRecordMagic);
        putU32(out, static_cast<std::uint32_t>(pairs.size()));
        for (const RenamePair &pair : pairs) {
            for (const fs::path &path : { pair.temp.filename(), storedForm(pair.target, dir) }) {
                putU32(out, static_cast<std::uint32_t>(path.native().size()));
                out += path.native();
            }
        }
        putU32(out, checksum(out));
        return out;
    }

} // namespace filesetinternal

using namespace filesetinternal;

fs::path commitRecordPath(const fs::path &mainFile)
{
    return folderOf(mainFile) / (std::string(kCommitPrefix) + hex16(fnv1a64(mainFile.filename().native())));
}

std::optional<std::vector<StoredRename>> decodeCommitRecord(std::string_view bytes)
{
    if (bytes.size() < kRecordMagic.size() + 8 || !bytes.starts_with(kRecordMagic))
        return std::nullopt;
    std::size_t pos = kRecordMagic.size();
    auto getU32 = [&](std::uint32_t &v) {
        if (bytes.size() - pos < 4)
            return false;
        v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
        pos += 4;
        return true;
    };
    std::uint32_t count = 0;
    if (!getU32(count) || count > 64)
        return std::nullopt;
    std::vector<StoredRename> pairs(count);
    for (StoredRename &pair : pairs) {
        for (std::string *name : { &pair.temp, &pair.target }) {
            std::uint32_t length = 0;
            // A name holds no NUL and is no longer than a path may be.
            if (!getU32(length) || length == 0 || length > PATH_MAX || bytes.size() - pos < length)
                return std::nullopt;
            name->assign(bytes.substr(pos, length));
            if (name->find('\0') != std::string::npos)
                return std::nullopt;
            pos += length;
        }
    }
    const std::size_t body = pos;
    std::uint32_t stored = 0;
    if (!getU32(stored) || pos != bytes.size() || stored != checksum(bytes.substr(0, body)))
        return std::nullopt;
    return pairs;
}

bool isSaveTemporaryName(std::string_view name)
{
    const std::string_view prefix = kTempPrefix;
    if (name.size() != prefix.size() + 16 || !name.starts_with(prefix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
        [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

} // namespace zorv::common
