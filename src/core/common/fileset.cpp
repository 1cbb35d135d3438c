#include "common/fileset.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/filesetinternal.h"
#include "common/systemerror.h"
#include "common/translation.h"

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

using namespace filesetinternal;

namespace {

    constexpr const char *kCannotSave = N_("Impossible d'enregistrer");

    // Short on purpose: a legal 250-byte target name must leave room for it, so the
    // name carries no part of the target's.
    std::string tempName()
    {
        static std::mt19937_64 rng { std::random_device {}() };
        return std::string(kTempPrefix) + hex16(rng());
    }

    // The phrase a save adds once its commit record is on disk: from then on the new
    // set is decided, whatever fails afterwards.
    constexpr const char *kKept
        = N_("\nVos modifications sont conservées : l'enregistrement sera terminé à la prochaine ouverture.");

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
            return Result::failure(Status::IoError, fileErrorText(tr("Impossible d'enregistrer"), target, EISDIR));
        if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return Result::failure(Status::AccessDenied,
                cformat(tr("Vous n'avez pas le droit de modifier le fichier « %s ». Il n'a pas été remplacé."),
                    target.filename().string().c_str()));
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

    int g_renameFault = 0;

    Result renameInto(const Temp &t)
    {
        step(FsStep::Rename);
        if (const int e = std::exchange(g_renameFault, 0); e != 0)
            return fileFailure(tr("Impossible de remplacer"), t.target, e);
        if (::rename(t.path.c_str(), t.target.c_str()) != 0)
            return fileFailure(tr("Impossible de remplacer"), t.target, errno);
        return {};
    }

} // namespace

void setRenameFaultForTests(int err)
{
    g_renameFault = err;
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
            return Result::failure(Status::Refused, tr("Aucun nom de fichier."));
        if (!nameFits(t.target))
            return Result::failure(Status::Refused,
                cformat(tr("Le nom « %s » est trop long (plus de %d octets). Rien n'a été enregistré."),
                    t.target.filename().string().c_str(), static_cast<int>(NAME_MAX)));
        if (set != nullptr && !set->mayCommitTo(t.target))
            return Result::failure(Status::Refused,
                cformat(tr("« %s » n'est pas un fichier du carnet « %s »."), t.target.string().c_str(),
                    set->given().string().c_str()));
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
            return fileFailure(tr(kCannotSave), t.target, err);
        }
        if (exists)
            takeModeOf(t.fd, st);
        else if (mainExists)
            takeModeOf(t.fd, mainStat);
        const bool written = file.copyOf.empty() ? writeAll(t.fd, file.data.data(), file.data.size(), err)
                                                 : copyInto(t.fd, file.copyOf, err);
        if (!written) {
            dropTemps(temps, true);
            return fileFailure(tr(kCannotSave), t.target, err);
        }
        // After a failed fsync the kernel may have dropped the dirty pages, so the
        // save fails; retrying could report success for data that never landed.
        step(FsStep::Sync);
        if (::fsync(t.fd) != 0) {
            err = errno;
            dropTemps(temps, true);
            return fileFailure(tr(kCannotSave), t.target, err);
        }
    }

    const fs::path dir = folderOf(temps.front().target);
    if (temps.size() == 1 && set == nullptr) {
        Result r = renameInto(temps.front());
        dropTemps(temps, !r);
        if (!r)
            return r;
        if (const int e = syncFolder(dir); e != 0)
            return fileFailure(tr("Impossible de synchroniser le dossier"), dir, e);
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
            return fileFailure(tr("Impossible d'enregistrer"), temps.front().target, err);
        }
    }
    // From here on the new set is decided: what is not renamed now is renamed by the
    // next reader, which is why a failure leaves the record in place and says so.
    for (const Temp &t : temps) {
        if (Result r = renameInto(t); !r) {
            dropTemps(temps, false);
            return Result::failure(r.status(), r.message() + std::string(tr(kKept)));
        }
    }
    dropTemps(temps, false);
    if (Result r = settleRecord(record, dir, allowed, notice); !r)
        return Result::failure(r.status(), r.message() + std::string(tr(kKept)));
    return {};
}

} // namespace zorv::common
