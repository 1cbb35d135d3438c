// Who has a file open for editing: a lock file beside it, as office programs keep, and the file's stamp.
#pragma once

#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zorv::common {

/*
 * The lock file ".~lock.<name>#" sits beside the file and names the user, the host
 * and the process that edits it. The holder keeps it open under an advisory lock for
 * as long as it edits, so a lock file whose process is gone (a crash, a power cut) is
 * recognised as stale by anyone who can take the lock, and taken over without a word.
 */
class EditLock {
public:
    enum class State {
        None, // no lock asked for, or the folder takes no lock file: editing goes on unguarded
        Mine,
        HeldByOther,
    };

    EditLock() = default;
    ~EditLock();
    EditLock(EditLock &&other) noexcept;
    EditLock &operator=(EditLock &&other) noexcept;
    EditLock(const EditLock &) = delete;
    EditLock &operator=(const EditLock &) = delete;

    // Takes the lock of `file` unless a live process holds it.
    static EditLock acquire(const std::filesystem::path &file);
    // Takes it even from a live holder: the user chose to edit anyway.
    static EditLock takeOver(const std::filesystem::path &file);
    // Looks without taking or leaving anything: the holder ("user sur host (processus
    // N)") when a live process edits `file`, else nothing.
    static std::optional<std::string> liveHolder(const std::filesystem::path &file);

    State state() const { return m_state; }
    // "user sur host (processus N)" of the holder when HeldByOther.
    const std::string &holder() const { return m_holder; }

private:
    State m_state = State::None;
    int m_fd = -1;
    std::filesystem::path m_path;
    std::string m_holder;
};

// The holder as a user reads it: every copy writes "user sur host (processus N)" into the
// lock, whatever its language, and a copy speaking another language shows those words in its own.
std::string shownHolder(const std::string &stored);

std::filesystem::path editLockPath(const std::filesystem::path &file);

class LogbookPaths;

/*
 * The lock every writer of a logbook holds from its read to its commit, so that two
 * writers never both read the old dives and the later commit drops the other's
 * change. It is a file beside the logbook, kept open under an advisory lock; a writer
 * that finds it taken waits, and gives up after a while naming who holds it.
 */
class WriterLock {
public:
    WriterLock() = default;
    ~WriterLock();
    WriterLock(WriterLock &&other) noexcept;
    WriterLock &operator=(WriterLock &&other) noexcept;
    WriterLock(const WriterLock &) = delete;
    WriterLock &operator=(const WriterLock &) = delete;

    // A folder where no lock file can be made gets no lock: nothing can be saved there either.
    static ResultOr<WriterLock> acquire(const LogbookPaths &set, int waitMs);

private:
    int m_fd = -1;
    std::filesystem::path m_path;
};

// How long a writer waits for another one before it gives up.
inline constexpr int kWriterWaitMs = 20000;

// What tells one version of a file from the next without reading it.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1; // -1: no such file
    std::int64_t modifiedNs = 0;

    bool operator==(const FileStamp &) const = default;
};
FileStamp fileStamp(const std::filesystem::path &path);

} // namespace zorv::common
