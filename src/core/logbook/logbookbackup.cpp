#include "common/cformat.h"
#include "common/fileset.h"
#include "common/translation.h"
#include "logbook/logbookfile.h"
#include "logbook/logbookfileinternal.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <system_error>

namespace zorv::logbook {

namespace fs = std::filesystem;

namespace logbookfileinternal {

    // What loading found that the user must hear of, by resolved .log path, until
    // loadNotice() hands it out; and the files that were loaded holding more than
    // their header counted and have not been backed up yet.
    struct Pending {
        std::mutex mutex;
        std::set<std::string> backups;
        std::map<std::string, std::string> notices;
    };

    Pending &pending()
    {
        static Pending p;
        return p;
    }

    void markBackupPending(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        pending().backups.insert(set.log().string());
    }

    bool isBackupPending(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        return pending().backups.count(set.log().string()) > 0;
    }

    void backupDone(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        pending().backups.erase(set.log().string());
    }

    void addNotice(const common::LogbookPaths &set, const std::string &notice)
    {
        if (notice.empty())
            return;
        const std::lock_guard<std::mutex> guard(pending().mutex);
        pending().notices[set.log().string()] += notice;
    }

    std::string takeNotices(const common::LogbookPaths &set)
    {
        const std::lock_guard<std::mutex> guard(pending().mutex);
        const auto it = pending().notices.find(set.log().string());
        if (it == pending().notices.end())
            return {};
        std::string text = std::move(it->second);
        pending().notices.erase(it);
        return text;
    }

    // The old set is copied a piece at a time, so a file of any size is kept without
    // being held in memory.
    Result keepBackupIfPending(const common::LogbookPaths &set)
    {
        if (!isBackupPending(set))
            return {};
        std::vector<common::FileToSave> files;
        std::error_code ec;
        if (fs::is_regular_file(set.log(), ec))
            files.push_back({ set.logBackup(), {}, set.log() });
        if (fs::is_regular_file(set.add(), ec))
            files.push_back({ set.addBackup(), {}, set.add() });
        if (Result r = common::saveFileSet(files, &set); !r)
            return r;
        backupDone(set);
        return {};
    }

} // namespace logbookfileinternal

using namespace logbookfileinternal;

std::string LogbookFile::loadNotice(const std::string &path)
{
    if (path.empty())
        return {};
    const common::LogbookPaths set = common::LogbookPaths::resolve(path);
    std::string notice = takeNotices(set);
    if (isBackupPending(set))
        notice += common::cformat(common::tr("Le fichier « %s » contient plus de données que son en-tête n'annonce de "
                                             "plongées ; seules celles-ci sont lues. Avant le premier enregistrement, "
                                             "il sera conservé sous « %s »."),
            path.c_str(), set.logBackup().string().c_str());
    while (!notice.empty() && notice.back() == '\n')
        notice.pop_back();
    return notice;
}

} // namespace zorv::logbook
