#include "common/editlock.h"

#include "common/cformat.h"
#include "common/fileset.h"
#include "common/translation.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace zorv::common {

namespace fs = std::filesystem;

namespace {

    std::string whoAmI()
    {
        std::string user;
        if (const passwd *pw = ::getpwuid(::geteuid()))
            user = pw->pw_name;
        else
            user = std::to_string(::geteuid());
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        return user + " sur " + host + " (processus " + std::to_string(::getpid()) + ")";
    }

    void writeOwnName(int fd)
    {
        const std::string me = whoAmI() + "\n";
        if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, me.data(), me.size(), 0) != static_cast<ssize_t>(me.size())) {
            // The lock holds without the name of its holder; others then read "un autre programme".
        }
    }

    std::string readHolder(int fd)
    {
        char text[512] = {};
        const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
        std::string holder = n > 0 ? std::string(text, static_cast<std::size_t>(n)) : std::string();
        while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r'))
            holder.pop_back();
        return holder.empty() ? std::string(tr("un autre programme")) : shownHolder(holder);
    }

    bool sameFile(int fd, const fs::path &path)
    {
        struct stat a {
        }, b {};
        return ::fstat(fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    }

    // Removes our lock file while still holding it, so that the next taker never locks a file
    // nobody will see again (it finds the name gone or new and tries again); a name that
    // another program took over is theirs and stays.
    void releaseLockFile(int fd, const fs::path &path)
    {
        if (fd < 0)
            return;
        if (sameFile(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }

} // namespace

std::string shownHolder(const std::string &stored)
{
    const std::size_t on = stored.find(" sur ");
    const std::size_t process = stored.rfind(" (processus ");
    if (on == std::string::npos || process == std::string::npos || process < on || !stored.ends_with(')'))
        return stored;
    const std::size_t pidStart = process + std::string_view(" (processus ").size();
    const std::string pid = stored.substr(pidStart, stored.size() - 1 - pidStart);
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
        return stored;
    const std::size_t hostStart = on + std::string_view(" sur ").size();
    return cformat(tr("%s sur %s (processus %s)"), stored.substr(0, on).c_str(),
        stored.substr(hostStart, process - hostStart).c_str(), pid.c_str());
}

fs::path editLockPath(const fs::path &file)
{
    return LogbookPaths::resolve(file).editLock();
}

std::optional<std::string> EditLock::liveHolder(const fs::path &file)
{
    const fs::path path = editLockPath(file);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> holder;
    struct stat st { };
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        holder = readHolder(fd);
    ::close(fd);
    return holder;
}

WriterLock::~WriterLock()
{
    releaseLockFile(m_fd, m_path);
}

WriterLock::WriterLock(WriterLock &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_path(std::move(other.m_path))
{
}

WriterLock &WriterLock::operator=(WriterLock &&other) noexcept
{
    if (this != &other) {
        WriterLock old(std::move(*this));
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

ResultOr<WriterLock> WriterLock::acquire(const LogbookPaths &set, int waitMs)
{
    WriterLock lock;
    lock.m_path = set.writerLock();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    std::string holder;
    for (int pause = 1;; pause = std::min(pause * 2, 20)) {
        const int fd = ::open(lock.m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0)
            return lock;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us removed the name between our open and our lock.
            if (!sameFile(fd, lock.m_path)) {
                ::close(fd);
                continue;
            }
            writeOwnName(fd);
            lock.m_fd = fd;
            return lock;
        }
        const int err = errno;
        if (err != EWOULDBLOCK && err != EINTR) {
            // A file system without locks: no lock, as it always was there.
            ::close(fd);
            return lock;
        }
        holder = readHolder(fd);
        ::close(fd);
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
    return Result::failure(Status::Busy,
        cformat(tr("Le carnet « %s » est en cours d'enregistrement par %s depuis plus de %d s ; rien n'a été modifié. "
                   "Réessayez plus tard."),
            set.given().filename().string().c_str(), holder.c_str(), static_cast<int>(waitMs / 1000)));
}

EditLock EditLock::acquire(const fs::path &file)
{
    EditLock lock;
    lock.m_path = editLockPath(file);
    // A holder that lets go between our open and our lock has removed the name we
    // opened; then the name is tried again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(lock.m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0)
            return lock; // a read-only folder or medium: nobody can save there anyway
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            lock.m_state = errno == EWOULDBLOCK ? State::HeldByOther : State::None;
            lock.m_holder = readHolder(fd);
            ::close(fd);
            return lock;
        }
        if (!sameFile(fd, lock.m_path)) {
            ::close(fd);
            continue;
        }
        writeOwnName(fd);
        lock.m_fd = fd;
        lock.m_state = State::Mine;
        return lock;
    }
    return lock;
}

EditLock EditLock::takeOver(const fs::path &file)
{
    ::unlink(editLockPath(file).c_str());
    return acquire(file);
}

EditLock::~EditLock()
{
    releaseLockFile(m_fd, m_path);
}

EditLock::EditLock(EditLock &&other) noexcept
    : m_state(std::exchange(other.m_state, State::None))
    , m_fd(std::exchange(other.m_fd, -1))
    , m_path(std::move(other.m_path))
    , m_holder(std::move(other.m_holder))
{
}

EditLock &EditLock::operator=(EditLock &&other) noexcept
{
    if (this != &other) {
        EditLock old(std::move(*this));
        m_state = std::exchange(other.m_state, State::None);
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
        m_holder = std::move(other.m_holder);
    }
    return *this;
}

FileStamp fileStamp(const fs::path &path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return { static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
        static_cast<std::int64_t>(st.st_size),
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec };
}

} // namespace zorv::common
