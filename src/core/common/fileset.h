// Replacing several files as one unit, and reading them back only whole: the machinery under every save.
#pragma once

#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
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
};

// Replaces every target with its data, all or nothing as described above. A target
// that exists must be one the user may write; its permission bits, owner and group
// are kept (owner and group as far as the process may set them). A new file takes
// the permission bits of the first target when that one exists.
Result saveFileSet(std::span<const FileToSave> files);

// The file a path names once symbolic links are followed; the path itself when it is
// no link or the link is dangling. Companion names are derived from this path, so the
// whole set lands beside the real file and not beside the link.
std::filesystem::path resolveLinks(const std::filesystem::path &path);

// An advisory lock on a folder, released when the object dies (or the process does).
// File systems that refuse folder locks get no lock, which is what they had before.
class FolderLock {
public:
    enum class Mode {
        Shared,
        Exclusive,
    };
    FolderLock() = default;
    FolderLock(const std::filesystem::path &folder, Mode mode);
    ~FolderLock();
    FolderLock(FolderLock &&other) noexcept;
    FolderLock &operator=(FolderLock &&other) noexcept;
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    int m_fd = -1;
};

// Makes the file set whose first file is `mainFile` whole before it is read: finishes
// a save that was cut short in its commit phase or discards one that was not, and
// removes temporary files of ours that no live process holds. The returned lock keeps
// any save from committing while the caller reads; drop it once the files are read.
ResultOr<FolderLock> prepareFileSetForReading(const std::filesystem::path &mainFile);

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

} // namespace zorv::common
