#include "common/fileset.h"

#include "common/atomicfile.h"
#include "common/systemerror.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zorv::common {

namespace fs = std::filesystem;

namespace {

    FsStepHook g_stepHook = nullptr;

    void step(FsStep s)
    {
        if (g_stepHook != nullptr)
            g_stepHook(s);
    }

    constexpr std::string_view kCannotSave = "Impossible d'enregistrer";

    fs::path folderOf(const fs::path &path)
    {
        fs::path dir = path.parent_path();
        return dir.empty() ? fs::path(".") : dir;
    }

    std::uint64_t fnv1a64(std::string_view bytes)
    {
        std::uint64_t h = 0xcbf29ce484222325ULL;
        for (const char c : bytes) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ULL;
        }
        return h;
    }

    std::string hex16(std::uint64_t v)
    {
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
        return text;
    }

    // Short on purpose: a legal 250-byte target name must leave room for it, so the
    // name carries no part of the target's.
    std::string tempName()
    {
        static std::mt19937_64 rng { std::random_device {}() };
        return std::string(kTempPrefix) + hex16(rng());
    }

    bool writeAll(int fd, const std::uint8_t *data, std::size_t size, int &err)
    {
        do {
            step(FsStep::Write);
            const ssize_t n = ::write(fd, data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                err = errno;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        } while (size > 0);
        return true;
    }

    // A folder that cannot be synced (some file systems refuse) is no error; any
    // other failure is, since the new names may not survive a crash.
    int syncFolder(const fs::path &dir)
    {
        step(FsStep::SyncFolder);
        const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return 0;
        const int rc = ::fsync(fd);
        const int err = errno;
        ::close(fd);
        return rc != 0 && err != EINVAL && err != ENOTSUP ? err : 0;
    }

    bool readAll(const fs::path &path, std::string &out, int &err)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            err = errno;
            return false;
        }
        struct stat st { };
        // A commit record is small; anything else under its name is not ours to read.
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > (1 << 20)) {
            ::close(fd);
            err = EINVAL;
            return false;
        }
        out.assign(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t used = 0;
        while (used < out.size()) {
            const ssize_t n = ::read(fd, out.data() + used, out.size() - used);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            used += static_cast<std::size_t>(n);
        }
        out.resize(used);
        ::close(fd);
        return true;
    }

    /*
     * Commit record: "ZORVCMT1", u32 pair count, per pair the temporary's and the
     * target's path (each u32 length and bytes, relative to the record's folder
     * when they lie in it, so a folder that is moved or mounted elsewhere keeps
     * its record valid), then u32 FNV-1a of everything before. All little-endian.
     */
    constexpr std::string_view kRecordMagic = "ZORVCMT1";

    struct RenamePair {
        fs::path temp;
        fs::path target;
    };

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
        return folderOf(path) == dir ? path.filename() : fs::absolute(path);
    }

    std::string encodeRecord(const std::vector<RenamePair> &pairs, const fs::path &dir)
    {
        std::string out(kRecordMagic);
        putU32(out, static_cast<std::uint32_t>(pairs.size()));
        for (const RenamePair &pair : pairs) {
            for (const fs::path &path : { storedForm(pair.temp, dir), storedForm(pair.target, dir) }) {
                putU32(out, static_cast<std::uint32_t>(path.native().size()));
                out += path.native();
            }
        }
        putU32(out, checksum(out));
        return out;
    }

    // The pairs of a complete record; nothing when it is cut short or damaged.
    std::optional<std::vector<RenamePair>> decodeRecord(std::string_view bytes, const fs::path &dir)
    {
        if (bytes.size() < kRecordMagic.size() + 8 || !bytes.starts_with(kRecordMagic))
            return std::nullopt;
        std::size_t pos = kRecordMagic.size();
        auto getU32 = [&](std::uint32_t &v) {
            if (bytes.size() - pos < 4)
                return false;
            v = 0;
            for (int i = 0; i < 4; ++i)
                v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
            pos += 4;
            return true;
        };
        std::uint32_t count = 0;
        if (!getU32(count) || count > 64)
            return std::nullopt;
        std::vector<RenamePair> pairs(count);
        for (RenamePair &pair : pairs) {
            for (fs::path *path : { &pair.temp, &pair.target }) {
                std::uint32_t length = 0;
                if (!getU32(length) || length == 0 || bytes.size() - pos < length)
                    return std::nullopt;
                *path = dir / fs::path(std::string(bytes.substr(pos, length)));
                pos += length;
            }
        }
        const std::size_t body = pos;
        std::uint32_t stored = 0;
        if (!getU32(stored) || pos != bytes.size() || stored != checksum(bytes.substr(0, body)))
            return std::nullopt;
        return pairs;
    }

    // Finishes (complete record) or drops (incomplete record) a save that stopped in
    // its commit phase. The caller holds the folder's exclusive lock, so the saver
    // that wrote the record is dead.
    Result settleRecord(const fs::path &record, const fs::path &dir)
    {
        std::string bytes;
        int err = 0;
        if (!readAll(record, bytes, err))
            return err == ENOENT ? Result::success() : fileFailure("Impossible de lire", record, err);
        if (const auto pairs = decodeRecord(bytes, dir)) {
            // A temporary that is gone was renamed before the stop.
            for (const RenamePair &pair : *pairs) {
                struct stat st { };
                if (::lstat(pair.temp.c_str(), &st) != 0)
                    continue;
                step(FsStep::Rename);
                if (::rename(pair.temp.c_str(), pair.target.c_str()) != 0)
                    return fileFailure("Impossible de terminer l'enregistrement de", pair.target, errno);
            }
            for (const RenamePair &pair : *pairs) {
                if (const int e = syncFolder(folderOf(pair.target)); e != 0)
                    return fileFailure("Impossible de synchroniser le dossier", folderOf(pair.target), e);
            }
        }
        step(FsStep::Unlink);
        if (::unlink(record.c_str()) != 0 && errno != ENOENT)
            return fileFailure("Impossible de supprimer", record, errno);
        if (const int e = syncFolder(dir); e != 0)
            return fileFailure("Impossible de synchroniser le dossier", dir, e);
        return {};
    }

    // A temporary file, open and locked until the save is over.
    struct Temp {
        int fd = -1;
        fs::path path;
        fs::path target;
    };

    void dropTemps(std::vector<Temp> &temps, bool unlinkThem)
    {
        for (Temp &t : temps) {
            if (unlinkThem && !t.path.empty())
                ::unlink(t.path.c_str());
            if (t.fd >= 0)
                ::close(t.fd);
            t.fd = -1;
        }
    }

    // Creates the temporary file already locked. An unnamed file is made first
    // and linked in once locked, so that no cleanup can see it unlocked; file
    // systems without unnamed files get a named one locked right after.
    int createLockedTemp(const fs::path &dir, fs::path &path, int &err)
    {
        step(FsStep::Create);
        int fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);
            const std::string self = "/proc/self/fd/" + std::to_string(fd);
            for (int attempt = 0; attempt < 8; ++attempt) {
                path = dir / tempName();
                if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
                    return fd;
                if (errno != EEXIST)
                    break;
            }
            ::close(fd);
        }
        for (int attempt = 0; attempt < 8; ++attempt) {
            path = dir / tempName();
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::flock(fd, LOCK_EX | LOCK_NB);
                return fd;
            }
            if (errno != EEXIST)
                break;
        }
        err = errno;
        path.clear();
        return -1;
    }

    // Refuses a target the user may not write. A file without any write bit is a
    // file its owner marked read-only: refused even to root, as an editor would.
    Result mayReplace(const fs::path &target, const struct stat &st)
    {
        if (S_ISDIR(st.st_mode))
            return Result::failure(Status::IoError, fileErrorText("Impossible d'enregistrer", target, EISDIR));
        if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return Result::failure(Status::AccessDenied,
                "Vous n'avez pas le droit de modifier le fichier « " + target.filename().string()
                    + " ». Il n'a pas été remplacé.");
        return {};
    }

    // The replacement keeps the permission bits, owner and group of `like`; an
    // owner the process may not give is skipped, the group tried alone.
    void takeModeOf(int fd, const struct stat &like)
    {
        if (like.st_uid != ::geteuid() || like.st_gid != ::getegid()) {
            if (::fchown(fd, like.st_uid, like.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), like.st_gid) != 0) {
                // Neither could be set: the file stays the saver's, with the bits below.
            }
        }
        ::fchmod(fd, like.st_mode & 07777);
    }

    Result renameInto(const Temp &t)
    {
        step(FsStep::Rename);
        if (::rename(t.path.c_str(), t.target.c_str()) != 0)
            return fileFailure("Impossible de remplacer", t.target, errno);
        return {};
    }

} // namespace

void setFsStepHook(FsStepHook hook)
{
    g_stepHook = hook;
}

fs::path resolveLinks(const fs::path &path)
{
    fs::path current = path;
    // 40 is the kernel's own limit on links followed in one lookup.
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)) || ec)
            return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            return current;
        current = next.is_absolute() ? next : (folderOf(current) / next).lexically_normal();
    }
    return current;
}

FolderLock::FolderLock(const fs::path &folder, Mode mode)
    : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (m_fd < 0)
        return;
    int rc;
    do
        rc = ::flock(m_fd, mode == Mode::Exclusive ? LOCK_EX : LOCK_SH);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderLock::FolderLock(FolderLock &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

FolderLock &FolderLock::operator=(FolderLock &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

fs::path commitRecordPath(const fs::path &mainFile)
{
    return folderOf(mainFile) / (std::string(kCommitPrefix) + hex16(fnv1a64(mainFile.filename().native())));
}

void removeUnheldTempFiles(const fs::path &folder)
{
    const std::string tempPrefix = kTempPrefix;
    const std::string commitPrefix = kCommitPrefix;
    std::vector<std::string> temps;
    std::vector<fs::path> stillNeeded;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(tempPrefix)) {
            temps.push_back(name);
        } else if (name.starts_with(commitPrefix)) {
            std::string bytes;
            int err = 0;
            if (readAll(it->path(), bytes, err)) {
                if (const auto pairs = decodeRecord(bytes, folder)) {
                    for (const RenamePair &pair : *pairs)
                        stillNeeded.push_back(pair.temp.filename());
                }
            }
        }
    }
    for (const std::string &name : temps) {
        if (std::find(stillNeeded.begin(), stillNeeded.end(), fs::path(name)) != stillNeeded.end())
            continue;
        const fs::path path = folder / name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        // A live saver holds its temporary locked to the end; leave that one be.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
}

ResultOr<FolderLock> prepareFileSetForReading(const fs::path &mainFile)
{
    const fs::path resolved = resolveLinks(mainFile);
    const fs::path dir = folderOf(resolved);
    const fs::path record = commitRecordPath(resolved);
    for (int round = 0; round < 8; ++round) {
        FolderLock shared(dir, FolderLock::Mode::Shared);
        struct stat st { };
        if (::lstat(record.c_str(), &st) != 0) {
            removeUnheldTempFiles(dir);
            return shared;
        }
        shared = FolderLock();
        FolderLock exclusive(dir, FolderLock::Mode::Exclusive);
        if (Result r = settleRecord(record, dir); !r)
            return r;
    }
    return Result::failure(Status::Busy, "Le fichier « " + resolved.string() + " » est sans cesse réécrit.");
}

Result saveFileSet(std::span<const FileToSave> files)
{
    if (files.empty())
        return {};
    std::vector<Temp> temps;
    temps.reserve(files.size());
    struct stat mainStat { };
    bool mainExists = false;
    for (const FileToSave &file : files) {
        Temp &t = temps.emplace_back();
        t.target = resolveLinks(file.target);
        if (t.target.empty()) {
            dropTemps(temps, true);
            return Result::failure(Status::Refused, "Aucun nom de fichier.");
        }
        struct stat st { };
        const bool exists = ::stat(t.target.c_str(), &st) == 0;
        if (exists) {
            if (Result r = mayReplace(t.target, st); !r) {
                dropTemps(temps, true);
                return r;
            }
        }
        if (temps.size() == 1) {
            mainExists = exists;
            mainStat = st;
        }
        int err = 0;
        t.fd = createLockedTemp(folderOf(t.target), t.path, err);
        if (t.fd < 0) {
            dropTemps(temps, true);
            return fileFailure(kCannotSave, t.target, err);
        }
        if (exists)
            takeModeOf(t.fd, st);
        else if (mainExists)
            takeModeOf(t.fd, mainStat);
        if (!writeAll(t.fd, file.data.data(), file.data.size(), err)) {
            dropTemps(temps, true);
            return fileFailure(kCannotSave, t.target, err);
        }
        // After a failed fsync the kernel may have dropped the dirty pages, so the
        // save fails; retrying could report success for data that never landed.
        step(FsStep::Sync);
        if (::fsync(t.fd) != 0) {
            err = errno;
            dropTemps(temps, true);
            return fileFailure(kCannotSave, t.target, err);
        }
    }

    const fs::path dir = folderOf(temps.front().target);
    if (temps.size() == 1) {
        Result r = renameInto(temps.front());
        dropTemps(temps, !r);
        if (!r)
            return r;
        if (const int e = syncFolder(dir); e != 0)
            return fileFailure("Impossible de synchroniser le dossier", dir, e);
        return {};
    }

    FolderLock lock(dir, FolderLock::Mode::Exclusive);
    const fs::path record = commitRecordPath(temps.front().target);
    // A record left by a saver that died must be settled first, or ours could not be written.
    if (Result r = settleRecord(record, dir); !r) {
        dropTemps(temps, true);
        return r;
    }
    std::vector<RenamePair> pairs;
    for (const Temp &t : temps)
        pairs.push_back({ t.path, t.target });
    const std::string bytes = encodeRecord(pairs, dir);
    {
        step(FsStep::Create);
        const int fd = ::open(record.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        int err = errno;
        bool ok = fd >= 0 && writeAll(fd, reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size(), err);
        if (ok) {
            step(FsStep::Sync);
            ok = ::fsync(fd) == 0;
            err = ok ? 0 : errno;
        }
        if (fd >= 0)
            ::close(fd);
        if (ok) {
            err = syncFolder(dir);
            ok = err == 0;
        }
        if (!ok) {
            ::unlink(record.c_str());
            dropTemps(temps, true);
            return fileFailure("Impossible d'enregistrer", temps.front().target, err);
        }
    }
    // From here on the new set is decided: what is not renamed now is renamed by the
    // next reader, which is why a failure leaves the record in place.
    for (const Temp &t : temps) {
        if (Result r = renameInto(t); !r) {
            dropTemps(temps, false);
            return Result::failure(
                r.status(), r.message() + "\nL'enregistrement sera terminé à la prochaine ouverture.");
        }
    }
    dropTemps(temps, false);
    return settleRecord(record, dir);
}

ResultOr<std::string> readRegularFile(const fs::path &path, std::size_t maxBytes)
{
    // Opened without blocking, so that a FIFO cannot hold the program up here.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fileFailure("Impossible de lire", path, errno);
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result::failure(Status::BadFormat, "« " + path.string() + " » n'est pas un fichier ordinaire.");
    }
    std::string out(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), maxBytes) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        const ssize_t n = ::read(fd, out.data() + used, out.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return fileFailure("Impossible de lire", path, err);
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
        if (used > maxBytes) {
            ::close(fd);
            return Result::failure(Status::BadFormat,
                "« " + path.string() + " » est trop grand (plus de " + std::to_string(maxBytes / 1024) + " Ko).");
        }
        if (used == out.size())
            out.resize(std::min(out.size() * 2, maxBytes + 1));
    }
    ::close(fd);
    out.resize(used);
    return out;
}

Result checkRegularFile(const fs::path &path, std::size_t maxBytes)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return {};
    if (!S_ISREG(st.st_mode))
        return Result::failure(Status::BadFormat, "« " + path.string() + " » n'est pas un fichier ordinaire.");
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return Result::failure(Status::BadFormat,
            "« " + path.string() + " » est trop grand (plus de " + std::to_string(maxBytes / 1024) + " Ko).");
    return {};
}

} // namespace zorv::common
