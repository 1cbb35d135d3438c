#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/fileset.h"
#include "common/filesetinternal.h"
#include "common/systemerror.h"
#include "common/translation.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorv::common {

namespace fs = std::filesystem;

namespace filesetinternal {

    namespace {

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

    } // namespace

    // Finishes (complete record) or drops (incomplete record) a save that stopped in
    // its commit phase. The caller holds the folder's exclusive lock, so the saver
    // that wrote the record is dead. What the user must hear goes to `notice`. With
    // `unfinished`, a record the folder's rights keep from finishing is left for a
    // writer who may, and its pending pairs are handed back instead of a failure.
    Result settleRecord(const fs::path &record, const fs::path &dir, const TargetRule &allowed, std::string &notice,
        Unfinished *unfinished)
    {
        struct stat st { };
        if (::lstat(record.c_str(), &st) != 0)
            return errno == ENOENT ? Result::success() : fileFailure(tr("Impossible de lire"), record, errno);
        // A link, a FIFO, a folder or a huge file under the record's name is not a
        // record: it is kept under another name, so the logbook opens.
        if (!S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > kMaxRecordSize) {
            const fs::path aside = setAsideName(record);
            step(FsStep::Rename);
            if (::rename(record.c_str(), aside.c_str()) != 0)
                return fileFailure(tr("Impossible de mettre de côté"), record, errno);
            notice += cformat(tr("Le fichier « %s » n'était pas un enregistrement de Zorv ; il a été mis de côté sous "
                                 "« %s ».\n"),
                record.filename().string().c_str(), aside.filename().string().c_str());
            return {};
        }
        std::string bytes;
        int err = 0;
        // A record that cannot be read stays for the next open: dropping it could
        // leave a .log renamed and its .add not.
        if (!readAll(record, bytes, err))
            return err == ENOENT ? Result::success() : fileFailure(tr("Impossible de lire"), record, err);
        bool dropTemporaries = false;
        if (const auto stored = decodeCommitRecord(bytes)) {
            const auto pairs = trustedPairs(*stored, dir, allowed);
            if (!pairs) {
                notice += cformat(tr("Le fichier « %s » demandait de remplacer des fichiers qui ne sont pas ceux de ce "
                                     "carnet ; il a été supprimé et aucun fichier n'a été déplacé.\n"),
                    record.filename().string().c_str());
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
                        notice += cformat(tr("L'enregistrement interrompu de « %s » ne pouvait pas être terminé "
                                             "(nom trop long) ; il a été abandonné.\n"),
                            pair.target.filename().string().c_str());
                        dropTemporaries = true;
                        break;
                    }
                    if (unfinished != nullptr && (e == EACCES || e == EPERM || e == EROFS)) {
                        unfinished->any = true;
                        unfinished->pending.assign(waiting.begin() + static_cast<std::ptrdiff_t>(i), waiting.end());
                        return {};
                    }
                    return fileFailure(tr("Impossible de terminer l'enregistrement de"), pair.target, e);
                }
                if (!dropTemporaries) {
                    for (const RenamePair &pair : *pairs) {
                        if (const int e = syncFolder(folderOf(pair.target)); e != 0)
                            return fileFailure(tr("Impossible de synchroniser le dossier"), folderOf(pair.target), e);
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
            return fileFailure(tr("Impossible de supprimer"), record, e);
        }
        if (const int e = syncFolder(dir); e != 0)
            return fileFailure(tr("Impossible de synchroniser le dossier"), dir, e);
        return {};
    }

} // namespace filesetinternal

using namespace filesetinternal;

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
            out.notice += cformat(tr("L'enregistrement interrompu de « %s » ne peut pas être terminé ici (dossier "
                                     "protégé en écriture) ; la version enregistrée est ouverte en lecture seule.\n"),
                set.given().filename().string().c_str());
            out.lock = std::move(*exclusive);
            return out;
        }
    }
    return Result::failure(
        Status::Busy, cformat(tr("Le fichier « %s » est sans cesse réécrit."), set.log().string().c_str()));
}

ResultOr<ReadableFileSet> prepareFileSetForReading(const fs::path &mainFile)
{
    return prepareFileSetForReading(LogbookPaths::resolve(mainFile));
}

} // namespace zorv::common
