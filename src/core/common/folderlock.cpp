#include "common/cformat.h"
#include "common/fileset.h"
#include "common/filesetinternal.h"
#include "common/translation.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
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

    // Who holds a lock on the file open as `fd`, from the kernel's list of locks:
    // "le processus 123 (zorv-cli)", or a vaguer phrase when the list says nothing.
    std::string lockHolderOf(int fd)
    {
        struct stat st { };
        if (::fstat(fd, &st) != 0)
            return tr("un autre programme");
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
            return cformat(tr("le processus %d"), static_cast<int>(pid))
                + (name.empty() ? std::string() : " (" + name + ")");
        }
        return tr("un autre programme");
    }

} // namespace

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
        cformat(tr("Le dossier « %s » reste occupé par un enregistrement de %s depuis %d s ; rien n'a été fait. "
                   "Réessayez plus tard."),
            folder.string().c_str(), lockHolderOf(lock.m_fd).c_str(), static_cast<int>(waitMs / 1000)));
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

} // namespace zorv::common
