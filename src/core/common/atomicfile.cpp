#include "common/atomicfile.h"

#include "common/systemerror.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zorv::common {

namespace fs = std::filesystem;

namespace {

    constexpr std::string_view kCannotSave = "Impossible d'enregistrer";

    Status statusOf(int err)
    {
        switch (err) {
        case ENOENT:
            return Status::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return Status::AccessDenied;
        default:
            return Status::IoError;
        }
    }

    Result failed(std::string_view what, const fs::path &path, int err)
    {
        return Result::failure(statusOf(err), fileErrorText(what, path, err));
    }

    std::string tempNameFor(const fs::path &target)
    {
        static std::mt19937_64 rng { std::random_device {}() };
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(rng()));
        return std::string(kTempPrefix) + target.filename().string() + "." + suffix;
    }

    bool writeAll(int fd, const std::uint8_t *data, std::size_t size, int &err)
    {
        while (size > 0) {
            ssize_t n = ::write(fd, data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                err = errno;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

} // namespace

Result saveFileAtomically(const fs::path &requested, std::span<const std::uint8_t> data)
{
    // Replace the file a symbolic link points to, not the link: a logbook kept
    // in a synced folder and linked from home must stay where it is.
    fs::path target = requested;
    std::error_code linkEc;
    if (fs::is_symlink(fs::symlink_status(requested, linkEc))) {
        fs::path resolved = fs::weakly_canonical(requested, linkEc);
        if (!linkEc)
            target = resolved;
    }
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    const fs::path temp = dir / tempNameFor(target);

    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return failed(kCannotSave, target, errno);

    // Keep the permissions of the file being replaced, as an in-place write would.
    struct stat st { };
    if (::stat(target.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);

    int err = 0;
    bool ok = writeAll(fd, data.data(), data.size(), err);
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return failed(kCannotSave, target, err);
    }

    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        // The rename is done; a folder that cannot be synced (some file systems
        // refuse) is reported, since the new name may not survive a crash.
        int rc = ::fsync(dfd);
        int ferr = errno;
        ::close(dfd);
        if (rc != 0 && ferr != EINVAL && ferr != ENOTSUP)
            return failed("Enregistrement peut-être incomplet de", target, ferr);
    }
    return {};
}

Result saveFileAtomically(const fs::path &target, const std::string &data)
{
    return saveFileAtomically(
        target, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(data.data()), data.size()));
}

void removeStrayTempFiles(const fs::path &target)
{
    fs::path dir = target.parent_path();
    if (dir.empty())
        dir = ".";
    const std::string prefix = std::string(kTempPrefix) + target.filename().string() + ".";
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == prefix.size() + 16 && name.compare(0, prefix.size(), prefix) == 0) {
            std::error_code rmEc;
            fs::remove(it->path(), rmEc);
        }
    }
}

ResultOr<std::string> readWholeFile(const fs::path &path)
{
    // Read to the end instead of trusting the size: a folder opens fine and
    // reports an absurd size on some file systems (the allocation then threw),
    // and files under /proc report none at all.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failed("Impossible de lire", path, errno);
    // A regular file's size is a good guess for the buffer: reading straight into
    // it avoids copying a large logbook through a small buffer twice over.
    struct stat st { };
    std::string data;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        data.resize(static_cast<std::size_t>(st.st_size) + 1);
    else
        data.resize(65536);
    std::size_t used = 0;
    int err = 0;
    for (;;) {
        if (used == data.size())
            data.resize(data.size() * 2);
        ssize_t n = ::read(fd, data.data() + used, data.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (err != 0)
        return failed("Impossible de lire", path, err);
    data.resize(used);
    return data;
}

} // namespace zorv::common
