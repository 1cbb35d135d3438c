#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/fileset.h"
#include "common/filesetinternal.h"
#include "common/systemerror.h"
#include "common/translation.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorv::common {

namespace fs = std::filesystem;

namespace {

    FsStepHook g_stepHook = nullptr;

    int g_readFault = 0;

} // namespace

namespace filesetinternal {

    void step(FsStep s)
    {
        if (g_stepHook != nullptr)
            g_stepHook(s);
    }

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

} // namespace filesetinternal

using namespace filesetinternal;

void setFsStepHook(FsStepHook hook)
{
    g_stepHook = hook;
}

void setReadFaultForTests(int err)
{
    g_readFault = err;
}

ResultOr<std::string> readRegularFile(const fs::path &path, std::size_t maxBytes)
{
    // Opened without blocking, so that a FIFO cannot hold the program up here.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fileFailure(tr("Impossible de lire"), path, errno);
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result::failure(
            Status::BadFormat, cformat(tr("« %s » n'est pas un fichier ordinaire."), path.string().c_str()));
    }
    std::string out;
    int err = 0;
    const bool read = readFrom(fd, out, maxBytes, err);
    ::close(fd);
    if (!read)
        return fileFailure(tr("Impossible de lire"), path, err);
    if (out.size() > maxBytes)
        return Result::failure(Status::BadFormat,
            cformat(tr("« %s » est trop grand (plus de %llu Ko)."), path.string().c_str(),
                static_cast<unsigned long long>(maxBytes / 1024)));
    return out;
}

Result checkRegularFile(const fs::path &path, std::size_t maxBytes)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return {};
    if (!S_ISREG(st.st_mode))
        return Result::failure(
            Status::BadFormat, cformat(tr("« %s » n'est pas un fichier ordinaire."), path.string().c_str()));
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return Result::failure(Status::BadFormat,
            cformat(tr("« %s » est trop grand (plus de %llu Ko)."), path.string().c_str(),
                static_cast<unsigned long long>(maxBytes / 1024)));
    return {};
}

} // namespace zorv::common
