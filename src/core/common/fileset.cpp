#include "common/fileset.h"

#include "common/atomicfile.h"
#include "common/systemerror.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
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

    int g_readFault = 0;

    // A commit record is a few hundred bytes; anything larger under its name is not ours.
    constexpr std::size_t kMaxRecordSize = 64 * 1024;

    // Reads from `fd` to its end, at most `limit` bytes (one more tells that there is
    // more). A failed read fails the whole: a part is never taken for the file.
    bool readFrom(int fd, std::string &out, std::size_t limit, int &err)
    {
        out.clear();
        std::array<char, 16384> piece;
        for (;;) {
            if (g_readFault != 0) {
                err = g_readFault;
                return false;
            }
            const long n = readRetrying(fd, piece.data(), std::min(piece.size(), limit + 1 - out.size()));
            if (n < 0) {
                err = errno;
                return false;
            }
            if (n == 0)
                return true;
            out.append(piece.data(), static_cast<std::size_t>(n));
            if (out.size() > limit)
                return true;
        }
    }

    // Reads a small regular file; EINVAL for anything else under the name.
    bool readAll(const fs::path &path, std::string &out, int &err)
    {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            err = errno;
            return false;
        }
        struct stat st { };
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > kMaxRecordSize) {
            ::close(fd);
            err = EINVAL;
            return false;
        }
        const bool ok = readFrom(fd, out, kMaxRecordSize, err);
        ::close(fd);
        if (ok && out.size() > kMaxRecordSize) {
            err = EINVAL;
            return false;
        }
        return ok;
    }

    // Who holds a lock on the file open as `fd`, from the kernel's list of locks:
    // "le processus 123 (zorv-cli)", or a vaguer phrase when the list says nothing.
    std::string lockHolderOf(int fd)
    {
        struct stat st { };
        if (::fstat(fd, &st) != 0)
            return "un autre programme";
        char device[64];
        std::snprintf(device, sizeof device, "%02x:%02x:%llu", ::major(st.st_dev), ::minor(st.st_dev),
            static_cast<unsigned long long>(st.st_ino));
        std::ifstream locks("/proc/locks");
        std::string line;
        while (std::getline(locks, line)) {
            // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"; lines with "->" are waiters.
            if (line.find("->") != std::string::npos || line.find(std::string(" ") + device + " ") == std::string::npos)
                continue;
            char type[16] = {}, advisory[16] = {}, mode[16] = {};
            int pid = 0;
            if (std::sscanf(line.c_str(), "%*d: %15s %15s %15s %d", type, advisory, mode, &pid) != 4 || pid <= 0
                || pid == ::getpid())
                continue;
            std::string name;
            std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
            std::getline(comm, name);
            return "le processus " + std::to_string(pid) + (name.empty() ? std::string() : " (" + name + ")");
        }
        return "un autre programme";
    }

    /*
     * Commit record: "ZORVCMT1", u32 pair count, per pair the temporary's bare name (it
     * lies beside its target) and the target's name (bare when it lies beside the record,
     * so a folder that is moved or mounted elsewhere keeps its record valid; else
     * absolute), each u32 length and bytes, then u32 FNV-1a of everything before. All
     * little-endian.
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
        return folderOf(path) == dir ? path.filename() : fs::absolute(path).lexically_normal();
    }

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

    // Which targets a commit record may name.
    using TargetRule = std::function<bool(const fs::path &)>;

    fs::path comparable(const fs::path &path)
    {
        return fs::absolute(path).lexically_normal();
    }

    // The pairs a record names, once each is found to be ours: a save temporary of
    // ours (by its name, a regular file beside its target) over a target the rule
    // allows. Nothing when a single pair is not: such a record was not written by a
    // save of this file set, and renaming what it names could move any file.
    std::optional<std::vector<RenamePair>> trustedPairs(
        const std::vector<StoredRename> &stored, const fs::path &dir, const TargetRule &allowed)
    {
        std::vector<RenamePair> pairs;
        for (const StoredRename &s : stored) {
            if (!isSaveTemporaryName(s.temp))
                return std::nullopt;
            const fs::path target = s.target.find('/') == std::string::npos ? dir / s.target : fs::path(s.target);
            if (!target.is_absolute() && s.target.find('/') != std::string::npos)
                return std::nullopt;
            if (!allowed(target))
                return std::nullopt;
            const fs::path temp = folderOf(target) / s.temp;
            struct stat st { };
            if (::lstat(temp.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
                return std::nullopt;
            pairs.push_back({ temp, target });
        }
        return pairs;
    }

    // A name under which a file that was in our way is kept; never one of our own patterns.
    fs::path setAsideName(const fs::path &path)
    {
        const std::string base
            = ".zorv-set-aside-" + path.filename().string().substr(std::string(kCommitPrefix).size());
        fs::path candidate = folderOf(path) / base;
        for (int n = 2; n < 100; ++n) {
            struct stat st { };
            if (::lstat(candidate.c_str(), &st) != 0)
                break;
            candidate = folderOf(path) / (base + "-" + std::to_string(n));
        }
        return candidate;
    }

    // The phrase a save adds once its commit record is on disk: from then on the new
    // set is decided, whatever fails afterwards.
    constexpr std::string_view kKept
        = "\nVos modifications sont conservées : l'enregistrement sera terminé à la prochaine ouverture.";

    // What settleRecord found when the folder may not be written.
    struct Unfinished {
        bool any = false;
        std::vector<RenamePair> pending; // pairs whose temporary still waits
    };

    // Finishes (complete record) or drops (incomplete record) a save that stopped in
    // its commit phase. The caller holds the folder's exclusive lock, so the saver
    // that wrote the record is dead. What the user must hear goes to `notice`. With
    // `unfinished`, a record the folder's rights keep from finishing is left for a
    // writer who may, and its pending pairs are handed back instead of a failure.
    Result settleRecord(const fs::path &record, const fs::path &dir, const TargetRule &allowed, std::string &notice,
        Unfinished *unfinished = nullptr)
    {
        struct stat st { };
        if (::lstat(record.c_str(), &st) != 0)
            return errno == ENOENT ? Result::success() : fileFailure("Impossible de lire", record, errno);
        // A link, a FIFO, a folder or a huge file under the record's name is not a
        // record: it is kept under another name, so the logbook opens.
        if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > kMaxRecordSize) {
            const fs::path aside = setAsideName(record);
            step(FsStep::Rename);
            if (::rename(record.c_str(), aside.c_str()) != 0)
                return fileFailure("Impossible de mettre de côté", record, errno);
            notice += "Le fichier « " + record.filename().string()
                + " » n'était pas un enregistrement de Zorv ; il a été mis de côté sous « " + aside.filename().string()
                + " ».\n";
            return {};
        }
        std::string bytes;
        int err = 0;
        // A record that cannot be read stays for the next open: dropping it could
        // leave a .log renamed and its .add not.
        if (!readAll(record, bytes, err))
            return err == ENOENT ? Result::success() : fileFailure("Impossible de lire", record, err);
        bool dropTemporaries = false;
        if (const auto stored = decodeCommitRecord(bytes)) {
            const auto pairs = trustedPairs(*stored, dir, allowed);
            if (!pairs) {
                notice += "Le fichier « " + record.filename().string()
                    + " » demandait de remplacer des fichiers qui ne sont pas ceux de ce carnet ; il a été supprimé "
                      "et aucun fichier n'a été déplacé.\n";
            } else {
                std::vector<RenamePair> waiting;
                for (const RenamePair &pair : *pairs) {
                    struct stat tst { };
                    // A temporary that is gone was renamed before the stop.
                    if (::lstat(pair.temp.c_str(), &tst) == 0)
                        waiting.push_back(pair);
                }
                for (std::size_t i = 0; i < waiting.size(); ++i) {
                    const RenamePair &pair = waiting[i];
                    step(FsStep::Rename);
                    if (::rename(pair.temp.c_str(), pair.target.c_str()) == 0)
                        continue;
                    const int e = errno;
                    // A name the file system cannot hold never becomes possible: when
                    // nothing was renamed yet, the record goes and the old set stays.
                    if (e == ENAMETOOLONG && i == 0 && waiting.size() == pairs->size()) {
                        notice += "L'enregistrement interrompu de « " + pair.target.filename().string()
                            + " » ne pouvait pas être terminé (nom trop long) ; il a été abandonné.\n";
                        dropTemporaries = true;
                        break;
                    }
                    if (unfinished != nullptr && (e == EACCES || e == EPERM || e == EROFS)) {
                        unfinished->any = true;
                        unfinished->pending.assign(waiting.begin() + static_cast<std::ptrdiff_t>(i), waiting.end());
                        return {};
                    }
                    return fileFailure("Impossible de terminer l'enregistrement de", pair.target, e);
                }
                if (!dropTemporaries) {
                    for (const RenamePair &pair : *pairs) {
                        if (const int e = syncFolder(folderOf(pair.target)); e != 0)
                            return fileFailure("Impossible de synchroniser le dossier", folderOf(pair.target), e);
                    }
                } else {
                    for (const RenamePair &pair : *pairs)
                        ::unlink(pair.temp.c_str());
                }
            }
        }
        step(FsStep::Unlink);
        if (::unlink(record.c_str()) != 0 && errno != ENOENT) {
            const int e = errno;
            // Every file is in place; only the record could not go.
            if (unfinished != nullptr && (e == EACCES || e == EPERM || e == EROFS))
                return {};
            return fileFailure("Impossible de supprimer", record, e);
        }
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

    // Copies the file at `source` into `fd` a piece at a time, leaving its holes holes:
    // memory stays bounded and a sparse file stays sparse, whatever its size.
    bool copyInto(int fd, const fs::path &source, int &err)
    {
        const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (in < 0) {
            err = errno;
            return false;
        }
        struct stat st { };
        if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(in);
            err = EINVAL;
            return false;
        }
        const off_t size = st.st_size;
        std::vector<std::uint8_t> piece(1 << 20);
        off_t at = 0;
        bool ok = true;
        while (ok && at < size) {
            off_t data = ::lseek(in, at, SEEK_DATA);
            if (data < 0 && errno == ENXIO)
                break; // a hole to the end
            if (data < 0)
                data = at; // no hole map here: copy everything
            off_t end = ::lseek(in, data, SEEK_HOLE);
            if (end < 0 || end > size)
                end = size;
            for (off_t pos = data; ok && pos < end;) {
                const ssize_t n = ::pread(in, piece.data(), std::min<std::size_t>(piece.size(), end - pos), pos);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    err = n < 0 ? errno : EIO;
                    ok = false;
                    break;
                }
                std::size_t done = 0;
                while (ok && done < static_cast<std::size_t>(n)) {
                    step(FsStep::Write);
                    const ssize_t w = ::pwrite(
                        fd, piece.data() + done, static_cast<std::size_t>(n) - done, pos + static_cast<off_t>(done));
                    if (w < 0 && errno == EINTR)
                        continue;
                    if (w < 0) {
                        err = errno;
                        ok = false;
                    } else {
                        done += static_cast<std::size_t>(w);
                    }
                }
                pos += n;
            }
            at = end;
        }
        if (ok && ::ftruncate(fd, size) != 0) {
            err = errno;
            ok = false;
        }
        ::close(in);
        return ok;
    }

    bool nameFits(const fs::path &path)
    {
        return path.filename().native().size() <= NAME_MAX;
    }

    // How long a save waits for the folder's commit lock, and a reader for a save's commit.
    constexpr int kFolderWaitMs = 10000;

    int g_renameFault = 0;

    Result renameInto(const Temp &t)
    {
        step(FsStep::Rename);
        if (const int e = std::exchange(g_renameFault, 0); e != 0)
            return fileFailure("Impossible de remplacer", t.target, e);
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

ResultOr<FolderLock> FolderLock::take(const fs::path &folder, Mode mode, int waitMs)
{
    FolderLock lock;
    lock.m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock.m_fd < 0)
        return lock;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (int pause = 1;; pause = std::min(pause * 2, 50)) {
        if (::flock(lock.m_fd, (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0)
            return lock;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            // A file system without folder locks: no lock, as before.
            ::close(std::exchange(lock.m_fd, -1));
            return lock;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
    return Result::failure(Status::Busy,
        "Le dossier « " + folder.string() + " » reste occupé par un enregistrement de " + lockHolderOf(lock.m_fd)
            + " depuis " + std::to_string(waitMs / 1000) + " s ; rien n'a été fait. Réessayez plus tard.");
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

void setReadFaultForTests(int err)
{
    g_readFault = err;
}

void setRenameFaultForTests(int err)
{
    g_renameFault = err;
}

namespace {

    constexpr const char *kWriterLockPrefix = ".zorv-lock-";

    // Only for comparing: links in every component followed, so that two spellings of
    // one file compare equal. Never used to open or rename.
    fs::path canonicalKey(const fs::path &path)
    {
        std::error_code ec;
        fs::path key = fs::weakly_canonical(fs::absolute(path), ec);
        return ec ? comparable(path) : key;
    }

} // namespace

LogbookPaths LogbookPaths::resolve(const fs::path &given)
{
    LogbookPaths paths;
    paths.m_given = given;
    paths.m_log = resolveLinks(given);
    if (paths.m_log.empty())
        return paths;
    paths.m_add = fs::path(paths.m_log).replace_extension(".add");
    if (paths.m_log != given) {
        // Older copies kept the .add beside the link; taken there only when the real
        // folder has none, and never replaced with blank entries.
        const fs::path besideLink = fs::path(given).replace_extension(".add");
        struct stat st { };
        if (::lstat(paths.m_add.c_str(), &st) != 0 && errno == ENOENT && ::stat(besideLink.c_str(), &st) == 0
            && S_ISREG(st.st_mode)) {
            paths.m_add = besideLink;
            paths.m_addBesideLink = true;
        }
    }
    return paths;
}

fs::path LogbookPaths::folder() const
{
    return folderOf(m_log);
}

fs::path LogbookPaths::companion(std::string_view extension) const
{
    return fs::path(m_log).replace_extension(extension);
}

fs::path LogbookPaths::logBackup() const
{
    return m_log.native() + ".bak";
}

fs::path LogbookPaths::addBackup() const
{
    return m_add.native() + ".bak";
}

fs::path LogbookPaths::editLock() const
{
    const std::string name = m_log.filename().string();
    // A name near the system's limit leaves no room for the decoration.
    if (name.size() + 8 > NAME_MAX)
        return folder() / (".~lock." + name.substr(0, NAME_MAX - 8) + "#");
    return folder() / (".~lock." + name + "#");
}

fs::path LogbookPaths::writerLock() const
{
    return folder() / (std::string(kWriterLockPrefix) + hex16(fnv1a64(m_log.filename().native())));
}

fs::path LogbookPaths::commitRecord() const
{
    return commitRecordPath(m_log);
}

bool LogbookPaths::mayCommitTo(const fs::path &target) const
{
    if (empty())
        return false;
    const fs::path key = comparable(target);
    return key == comparable(m_log) || key == comparable(m_add) || key == comparable(logBackup())
        || key == comparable(addBackup());
}

bool LogbookPaths::holds(const fs::path &path) const
{
    if (empty() || path.empty())
        return false;
    const fs::path own[] = { m_log, m_add, fs::path(m_log).replace_extension(".add"), companion(".inf"),
        companion(".trp"), companion(".prg"), logBackup(), addBackup(), editLock(), writerLock(), commitRecord() };
    const fs::path key = canonicalKey(resolveLinks(path));
    struct stat st { };
    const bool exists = ::stat(path.c_str(), &st) == 0;
    for (const fs::path &file : own) {
        if (canonicalKey(file) == key)
            return true;
        // Another name for the same file (a hard link).
        struct stat ost { };
        if (exists && ::stat(file.c_str(), &ost) == 0 && ost.st_dev == st.st_dev && ost.st_ino == st.st_ino)
            return true;
    }
    return false;
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
                if (const auto pairs = decodeCommitRecord(bytes)) {
                    for (const StoredRename &pair : *pairs)
                        stillNeeded.push_back(fs::path(pair.temp).filename());
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

ResultOr<ReadableFileSet> prepareFileSetForReading(const LogbookPaths &set)
{
    ReadableFileSet out;
    out.log = set.log();
    out.add = set.add();
    const fs::path dir = set.folder();
    const fs::path record = set.commitRecord();
    const TargetRule allowed = [&set](const fs::path &target) { return set.mayCommitTo(target); };
    for (int round = 0; round < 8; ++round) {
        auto shared = FolderLock::take(dir, FolderLock::Mode::Shared, kFolderWaitMs);
        if (!shared)
            return shared.result();
        struct stat st { };
        if (::lstat(record.c_str(), &st) != 0) {
            removeUnheldTempFiles(dir);
            out.lock = std::move(*shared);
            return out;
        }
        // A record still there after it was settled is one this reader could not
        // remove (a folder it may not write); the files it named are in place.
        if (round > 0) {
            out.lock = std::move(*shared);
            return out;
        }
        *shared = FolderLock();
        auto exclusive = FolderLock::take(dir, FolderLock::Mode::Exclusive, kFolderWaitMs);
        if (!exclusive)
            return exclusive.result();
        Unfinished unfinished;
        if (Result r = settleRecord(record, dir, allowed, out.notice, &unfinished); !r)
            return r;
        if (unfinished.any) {
            // The new set is complete, but this reader may not put it in place: it is
            // read where it lies, and left for one who may write the folder.
            for (const RenamePair &pair : unfinished.pending) {
                if (comparable(pair.target) == comparable(set.log()))
                    out.log = pair.temp;
                else if (comparable(pair.target) == comparable(set.add()))
                    out.add = pair.temp;
            }
            out.readOnly = true;
            out.notice += "L'enregistrement interrompu de « " + set.given().filename().string()
                + " » ne peut pas être terminé ici (dossier protégé en écriture) ; la version enregistrée est "
                  "ouverte en lecture seule.\n";
            out.lock = std::move(*exclusive);
            return out;
        }
    }
    return Result::failure(Status::Busy, "Le fichier « " + set.log().string() + " » est sans cesse réécrit.");
}

ResultOr<ReadableFileSet> prepareFileSetForReading(const fs::path &mainFile)
{
    return prepareFileSetForReading(LogbookPaths::resolve(mainFile));
}

Result saveFileSet(std::span<const FileToSave> files, const LogbookPaths *set)
{
    if (files.empty())
        return {};
    std::vector<Temp> temps;
    temps.reserve(files.size());
    // The names first: a name the file system cannot hold fails the save before
    // anything is written, instead of leaving a record that can never complete.
    for (const FileToSave &file : files) {
        Temp &t = temps.emplace_back();
        // A logbook's targets come resolved with its set; other files are resolved here, once.
        t.target = set != nullptr ? file.target : resolveLinks(file.target);
        if (t.target.empty())
            return Result::failure(Status::Refused, "Aucun nom de fichier.");
        if (!nameFits(t.target))
            return Result::failure(Status::Refused,
                "Le nom « " + t.target.filename().string() + " » est trop long (plus de " + std::to_string(NAME_MAX)
                    + " octets). Rien n'a été enregistré.");
        if (set != nullptr && !set->mayCommitTo(t.target))
            return Result::failure(Status::Refused,
                "« " + t.target.string() + " » n'est pas un fichier du carnet « " + set->given().string() + " ».");
    }
    struct stat mainStat { };
    bool mainExists = false;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileToSave &file = files[i];
        Temp &t = temps[i];
        struct stat st { };
        const bool exists = ::stat(t.target.c_str(), &st) == 0;
        if (exists) {
            if (Result r = mayReplace(t.target, st); !r) {
                dropTemps(temps, true);
                return r;
            }
        }
        if (i == 0) {
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
        const bool written = file.copyOf.empty() ? writeAll(t.fd, file.data.data(), file.data.size(), err)
                                                 : copyInto(t.fd, file.copyOf, err);
        if (!written) {
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
    if (temps.size() == 1 && set == nullptr) {
        Result r = renameInto(temps.front());
        dropTemps(temps, !r);
        if (!r)
            return r;
        if (const int e = syncFolder(dir); e != 0)
            return fileFailure("Impossible de synchroniser le dossier", dir, e);
        return {};
    }

    auto lock = FolderLock::take(dir, FolderLock::Mode::Exclusive, kFolderWaitMs);
    if (!lock) {
        dropTemps(temps, true);
        return lock.result();
    }
    const fs::path record = set != nullptr ? set->commitRecord() : commitRecordPath(temps.front().target);
    TargetRule allowed;
    if (set != nullptr) {
        allowed = [set](const fs::path &target) { return set->mayCommitTo(target); };
    } else {
        allowed = [&temps](const fs::path &target) {
            return std::any_of(
                temps.begin(), temps.end(), [&](const Temp &t) { return comparable(t.target) == comparable(target); });
        };
    }
    // A record left by a saver that died must be settled first, or ours could not be written.
    std::string notice;
    if (Result r = settleRecord(record, dir, allowed, notice); !r) {
        dropTemps(temps, true);
        return r;
    }
    std::vector<RenamePair> pairs;
    for (const Temp &t : temps)
        pairs.push_back({ t.path, t.target });
    const std::string bytes = encodeRecord(pairs, dir);
    {
        step(FsStep::Create);
        const int fd = ::open(record.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
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
    // next reader, which is why a failure leaves the record in place and says so.
    for (const Temp &t : temps) {
        if (Result r = renameInto(t); !r) {
            dropTemps(temps, false);
            return Result::failure(r.status(), r.message() + std::string(kKept));
        }
    }
    dropTemps(temps, false);
    if (Result r = settleRecord(record, dir, allowed, notice); !r)
        return Result::failure(r.status(), r.message() + std::string(kKept));
    return {};
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
    std::string out;
    int err = 0;
    const bool read = readFrom(fd, out, maxBytes, err);
    ::close(fd);
    if (!read)
        return fileFailure("Impossible de lire", path, err);
    if (out.size() > maxBytes)
        return Result::failure(Status::BadFormat,
            "« " + path.string() + " » est trop grand (plus de " + std::to_string(maxBytes / 1024) + " Ko).");
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
