#include "uddf/streamfile.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/systemerror.h"
#include "common/translation.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorv::uddf {

namespace fs = std::filesystem;
using common::Result;
using common::Status;

namespace {

    Result systemFailure(const fs::path &path, int error)
    {
        const Status status
            = error == EACCES || error == EPERM || error == EROFS ? Status::AccessDenied : Status::IoError;
        return Result::failure(status,
            common::cformat(common::tr("Impossible d'écrire « %s » : %s."), path.filename().string().c_str(),
                common::systemErrorText(error).c_str()));
    }

} // namespace

StreamFile::StreamFile(const fs::path &target)
    : m_target(target)
{
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    struct stat st { };
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
        m_status = systemFailure(target, S_ISREG(st.st_mode) ? EACCES : EISDIR);
        return;
    }
    std::random_device random;
    for (int attempt = 0; attempt < 8 && m_fd < 0; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, "%s%08x%08x", common::kTempPrefix, random(), random());
        m_temp = dir / name;
        m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_status = systemFailure(target, errno);
        return;
    }
    // Held to the end, so that no start-up cleanup takes it for a stray file.
    ::flock(m_fd, LOCK_EX);
    if (exists)
        ::fchmod(m_fd, st.st_mode & 07777);
}

StreamFile::~StreamFile()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_temp.c_str());
    }
}

bool StreamFile::write(std::string_view bytes)
{
    while (m_fd >= 0 && m_status.ok() && !bytes.empty()) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_status = systemFailure(m_target, n < 0 ? errno : ENOSPC);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return m_fd >= 0 && m_status.ok();
}

Result StreamFile::commit()
{
    if (!m_status.ok() || m_fd < 0)
        return m_status.ok() ? systemFailure(m_target, EBADF) : m_status;
    if (::fsync(m_fd) != 0)
        return systemFailure(m_target, errno);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0)
        return systemFailure(m_target, errno);
    ::close(m_fd);
    m_fd = -1;
    const fs::path dir = m_target.has_parent_path() ? m_target.parent_path() : fs::path(".");
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        const int synced = ::fsync(dirFd);
        const int error = errno;
        ::close(dirFd);
        if (synced != 0 && error != EINVAL)
            return systemFailure(m_target, error);
    }
    return {};
}

} // namespace zorv::uddf
