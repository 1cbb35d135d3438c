#include "common/fileset.h"
#include "common/filesetinternal.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>

namespace zorv::common {

namespace fs = std::filesystem;

namespace filesetinternal {

    fs::path comparable(const fs::path &path)
    {
        return fs::absolute(path).lexically_normal();
    }

} // namespace filesetinternal

using namespace filesetinternal;

fs::path resolveLinks(const fs::path &path)
{
    fs::path current = path;
    // 40 is the kernel's own limit on links followed in one lookup.
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)) || ec)
            return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            return current;
        current = next.is_absolute() ? next : (folderOf(current) / next).lexically_normal();
    }
    return current;
}

namespace {

    constexpr const char *kWriterLockPrefix = ".zorv-lock-";

    // Only for comparing: links in every component followed, so that two spellings of
    // one file compare equal. Never used to open or rename.
    fs::path canonicalKey(const fs::path &path)
    {
        std::error_code ec;
        fs::path key = fs::weakly_canonical(fs::absolute(path), ec);
        return ec ? comparable(path) : key;
    }

} // namespace

LogbookPaths LogbookPaths::resolve(const fs::path &given)
{
    LogbookPaths paths;
    paths.m_given = given;
    paths.m_log = resolveLinks(given);
    if (paths.m_log.empty())
        return paths;
    paths.m_add = fs::path(paths.m_log).replace_extension(".add");
    if (paths.m_log != given) {
        // Older copies kept the .add beside the link; taken there only when the real
        // folder has none, and never replaced with blank entries.
        const fs::path besideLink = fs::path(given).replace_extension(".add");
        struct stat st { };
        if (::lstat(paths.m_add.c_str(), &st) != 0 && errno == ENOENT && ::stat(besideLink.c_str(), &st) == 0
            && S_ISREG(st.st_mode)) {
            paths.m_add = besideLink;
            paths.m_addBesideLink = true;
        }
    }
    return paths;
}

fs::path LogbookPaths::folder() const
{
    return folderOf(m_log);
}

fs::path LogbookPaths::companion(std::string_view extension) const
{
    return fs::path(m_log).replace_extension(extension);
}

fs::path LogbookPaths::logBackup() const
{
    return m_log.native() + ".bak";
}

fs::path LogbookPaths::addBackup() const
{
    return m_add.native() + ".bak";
}

fs::path LogbookPaths::editLock() const
{
    const std::string name = m_log.filename().string();
    // A name near the system's limit leaves no room for the decoration.
    if (name.size() + 8 > NAME_MAX)
        return folder() / (".~lock." + name.substr(0, NAME_MAX - 8) + "#");
    return folder() / (".~lock." + name + "#");
}

fs::path LogbookPaths::writerLock() const
{
    return folder() / (std::string(kWriterLockPrefix) + hex16(fnv1a64(m_log.filename().native())));
}

fs::path LogbookPaths::commitRecord() const
{
    return commitRecordPath(m_log);
}

bool LogbookPaths::mayCommitTo(const fs::path &target) const
{
    if (empty())
        return false;
    const fs::path key = comparable(target);
    return key == comparable(m_log) || key == comparable(m_add) || key == comparable(logBackup())
        || key == comparable(addBackup());
}

bool LogbookPaths::holds(const fs::path &path) const
{
    if (empty() || path.empty())
        return false;
    const fs::path own[] = { m_log, m_add, fs::path(m_log).replace_extension(".add"), companion(".inf"),
        companion(".trp"), companion(".prg"), logBackup(), addBackup(), editLock(), writerLock(), commitRecord() };
    const fs::path key = canonicalKey(resolveLinks(path));
    struct stat st { };
    const bool exists = ::stat(path.c_str(), &st) == 0;
    for (const fs::path &file : own) {
        if (canonicalKey(file) == key)
            return true;
        // Another name for the same file (a hard link).
        struct stat ost { };
        if (exists && ::stat(file.c_str(), &ost) == 0 && ost.st_dev == st.st_dev && ost.st_ino == st.st_ino)
            return true;
    }
    return false;
}

} // namespace zorv::common
