#include "common/atomicfile.h"

#include "common/fileset.h"
#include "common/systemerror.h"
#include "common/translation.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zorv::common {

namespace fs = std::filesystem;

Result saveFileAtomically(const fs::path &target, std::span<const std::uint8_t> data)
{
    const FileToSave file { target, data };
    return saveFileSet({ &file, 1 });
}

Result saveFileAtomically(const fs::path &target, const std::string &data)
{
    return saveFileAtomically(
        target, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(data.data()), data.size()));
}

void removeStrayTempFiles(const fs::path &target)
{
    fs::path dir = target.parent_path();
    removeUnheldTempFiles(dir.empty() ? fs::path(".") : dir);
}

long readRetrying(int fd, void *into, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, into, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

ResultOr<std::string> readWholeFile(const fs::path &path)
{
    // Read to the end instead of trusting the size: a folder opens fine and
    // reports an absurd size on some file systems (the allocation then threw),
    // and files under /proc report none at all.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(tr("Impossible de lire"), path, errno);
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
        const ssize_t n = readRetrying(fd, data.data() + used, data.size() - used);
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
        return fileFailure(tr("Impossible de lire"), path, err);
    data.resize(used);
    return data;
}

Result readFileInPieces(const fs::path &path, const std::function<void(std::span<const std::uint8_t>)> &consume)
{
    return readFileInPiecesWhile(path, [&consume](std::span<const std::uint8_t> piece) {
        consume(piece);
        return true;
    });
}

Result readFileInPiecesWhile(const fs::path &path, const std::function<bool(std::span<const std::uint8_t>)> &consume)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fileFailure(tr("Impossible de lire"), path, errno);
    std::vector<std::uint8_t> piece(65536);
    int err = 0;
    for (;;) {
        const ssize_t n = readRetrying(fd, piece.data(), piece.size());
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0 || !consume({ piece.data(), static_cast<std::size_t>(n) }))
            break;
    }
    ::close(fd);
    if (err != 0)
        return fileFailure(tr("Impossible de lire"), path, err);
    return {};
}

} // namespace zorv::common
