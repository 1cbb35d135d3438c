// Replacing several files as one unit, and reading them back only whole: the machinery under every save.
#pragma once

#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::common {

/*
 * A save of several files (a logbook's .log and .add) runs in two phases:
 *
 *   1. each new content goes to a temporary file in its target's folder, written,
 *      fsynced and kept open under an exclusive lock (so no cleanup takes it);
 *   2. under an exclusive lock of the first target's folder, a commit record naming
 *      every (temporary, target) pair is written and fsynced, the temporaries are
 *      renamed over their targets, the folders are fsynced and the record removed.
 *
 * A crash in phase 1 leaves the old files and temporaries nobody holds. A crash in
 * phase 2 leaves a complete record: the next reader renames what is left (rolls
 * forward) and gets the new set. A record cut short (crash while writing it) is
 * discarded with its temporaries, which leaves the old set. Readers take the same
 * folder lock shared, so they never see the renames half done.
 */

// The system calls of a save that change or sync the disk; tests stop a save at each of them.
enum class FsStep {
    Create,
    Write,
    Sync,
    Rename,
    Unlink,
    SyncFolder,
};
using FsStepHook = void (*)(FsStep step);
// Called before each step; nullptr (the default) for none.
void setFsStepHook(FsStepHook hook);

struct FileToSave {
    std::filesystem::path target;
    std::span<const std::uint8_t> data;
    // When not empty, the content is this file's instead of `data`, copied a piece at a
    // time (holes stay holes), so that a file of any size is kept without holding it whole.
    std::filesystem::path copyOf = {};
};

class LogbookPaths;

// Replaces every target with its data, all or nothing as described above. A target
// that exists must be one the user may write; its permission bits, owner and group
// are kept (owner and group as far as the process may set them). A new file takes
// the permission bits of the first target when that one exists. A name too long for
// the file system is refused before anything is written. With `set`, the commit
// record is the logbook's own, and every target must be one of its files.
Result saveFileSet(std::span<const FileToSave> files, const LogbookPaths *set = nullptr);

// The file a path names once symbolic links are followed; the path itself when it is
// no link or the link is dangling. Companion names are derived from this path, so the
// whole set lands beside the real file and not beside the link.
std::filesystem::path resolveLinks(const std::filesystem::path &path);

/*
 * A logbook's file set, named once from the path the user gave: links are followed
 * here and nowhere else, and every file that belongs to the logbook is named from
 * the result. Save, backup, recovery and the checks of the command-line tool all
 * take this value, so "is this one of the logbook's files?" is one comparison.
 */
class LogbookPaths {
public:
    LogbookPaths() = default;
    static LogbookPaths resolve(const std::filesystem::path &given);

    bool empty() const { return m_log.empty(); }
    // As the user named it, for messages and the recent-files list.
    const std::filesystem::path &given() const { return m_given; }
    // The real .log once links are followed; every companion lies beside it.
    const std::filesystem::path &log() const { return m_log; }
    std::filesystem::path folder() const;
    // Beside the real .log, except when the .log is a link and its .add lies only
    // beside the link: then that one, so that its entries are not lost.
    const std::filesystem::path &add() const { return m_add; }
    bool addBesideLink() const { return m_addBesideLink; }
    // ".inf", ".trp" or ".prg" beside the real .log.
    std::filesystem::path companion(std::string_view extension) const;
    std::filesystem::path logBackup() const;
    std::filesystem::path addBackup() const;
    std::filesystem::path editLock() const;
    std::filesystem::path writerLock() const;
    std::filesystem::path commitRecord() const;

    // Whether `path`, once its links are followed, names a file of this set (the
    // .log, a companion, a backup, a lock or the commit record).
    bool holds(const std::filesystem::path &path) const;
    // Whether a commit record may put a file in place of `target`: only the .log,
    // the .add and their backups.
    bool mayCommitTo(const std::filesystem::path &target) const;

private:
    std::filesystem::path m_given;
    std::filesystem::path m_log;
    std::filesystem::path m_add;
    bool m_addBesideLink = false;
};

// An advisory lock on a folder, released when the object dies (or the process does).
// File systems that refuse folder locks get no lock, which is what they had before.
class FolderLock {
public:
    enum class Mode {
        Shared,
        Exclusive,
    };
    FolderLock() = default;
    // Waits at most `waitMs`, then fails naming the process that holds the folder.
    static ResultOr<FolderLock> take(const std::filesystem::path &folder, Mode mode, int waitMs);
    ~FolderLock();
    FolderLock(FolderLock &&other) noexcept;
    FolderLock &operator=(FolderLock &&other) noexcept;
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

// A file set made whole for reading. The lock keeps any save from committing while
// the caller reads; drop it once the files are read.
struct ReadableFileSet {
    FolderLock lock;
    // Where to read the .log and the .add: their own names, or the new files of a
    // save that could not be finished because the folder may not be written.
    std::filesystem::path log;
    std::filesystem::path add;
    bool readOnly = false; // the files read are not yet the logbook's own
    std::string notice; // what the user must be told; empty for nothing
};

// Makes the logbook's file set whole before it is read: finishes a save that was cut
// short in its commit phase or discards one that was not, and removes temporary files
// of ours that no live process holds. A commit record is trusted only when it renames
// save temporaries of ours over this logbook's own files; anything else is dropped
// (or, when it is no small regular file, set aside) with a notice, and nothing moves.
// A record that cannot be read fails the read and stays for the next one.
ResultOr<ReadableFileSet> prepareFileSetForReading(const LogbookPaths &set);
// The same for the set whose first file is `mainFile`.
ResultOr<ReadableFileSet> prepareFileSetForReading(const std::filesystem::path &mainFile);

// Commit records start with this one.
inline constexpr const char *kCommitPrefix = ".zorv-commit-";

// Removes the temporary files of ours (see kTempPrefix) in `folder` that no live process holds and no
// complete commit record still needs.
void removeUnheldTempFiles(const std::filesystem::path &folder);

// Reads a regular file of at most `maxBytes` bytes. Anything else is refused with a
// message naming it: a device or a FIFO (which could hang the program or never end),
// a folder, or a file larger than the limit.
ResultOr<std::string> readRegularFile(const std::filesystem::path &path, std::size_t maxBytes);

// The same test without reading: fine when the path names nothing or a regular file
// within the limit, else the refusal readRegularFile() would give.
Result checkRegularFile(const std::filesystem::path &path, std::size_t maxBytes);

// Settings files beyond this size are no settings file.
inline constexpr std::size_t kMaxSettingsFileSize = 1024 * 1024;

// The commit record's name for a file set whose first file is `mainFile`.
std::filesystem::path commitRecordPath(const std::filesystem::path &mainFile);

// A (temporary, target) pair of a commit record as stored: the temporary's bare
// name and the target's name (bare when beside the record, else absolute).
struct StoredRename {
    std::string temp;
    std::string target;
};
// The pairs of a complete record; nothing when it is cut short or damaged.
std::optional<std::vector<StoredRename>> decodeCommitRecord(std::string_view bytes);
// Whether `name` is one that createLockedTemp gives: our prefix and sixteen hex digits.
bool isSaveTemporaryName(std::string_view name);

// A test may make the reads of commit records and other small files fail with this errno (0: none).
void setReadFaultForTests(int err);
// A test may make the next rename of a save fail with this errno, once.
void setRenameFaultForTests(int err);

} // namespace zorv::common
