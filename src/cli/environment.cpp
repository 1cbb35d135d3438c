#include "environment.h"

#include "common/cformat.h"
#include "common/fileset.h"
#include "common/translation.h"
#include "logbook/logbookfile.h"

#include <iostream>

namespace zorv::cli {

int fail(const std::string &message, int code)
{
    std::cerr << "zorv-cli: " << message << "\n";
    return code;
}

std::optional<HeldLogbook> HeldLogbook::hold(const std::string &path, bool force, int &code)
{
    HeldLogbook held;
    held.m_files = common::LogbookPaths::resolve(path);
    if (held.m_files.empty()) {
        code = fail(common::tr("aucun carnet n'est nommé"), kExitUsage);
        return std::nullopt;
    }
    auto lock = common::WriterLock::acquire(held.m_files, common::kWriterWaitMs);
    if (!lock) {
        code = fail(lock.message(), kExitLocked);
        return std::nullopt;
    }
    held.m_lock = std::move(*lock);
    if (!force) {
        if (const auto holder = common::EditLock::liveHolder(held.m_files.log())) {
            code = fail(common::cformat(common::tr("« %s » est ouvert pour modification par %s ; rien n'a été modifié "
                                                   "(--force pour l'écrire quand même)."),
                            held.m_files.given().string().c_str(), holder->c_str()),
                kExitLocked);
            return std::nullopt;
        }
    }
    held.m_stamp = common::fileStamp(held.m_files.log());
    return held;
}

bool HeldLogbook::exists() const
{
    return m_stamp.size >= 0;
}

common::Result HeldLogbook::load(logbook::Logbook &book)
{
    if (!exists())
        return common::Result::failure(common::Status::NotFound,
            common::cformat(
                common::tr("impossible d'ouvrir %s : fichier introuvable"), m_files.given().string().c_str()));
    common::Result loaded = logbook::LogbookFile::load(book, m_files);
    m_stamp = common::fileStamp(m_files.log());
    if (const std::string notice = logbook::LogbookFile::loadNotice(m_files.given().string()); !notice.empty())
        std::cerr << "zorv-cli: " << common::tr("attention : ") << notice << "\n";
    return loaded;
}

common::Result HeldLogbook::save(logbook::Logbook &book) const
{
    // Another writer that takes no lock (an editor, a copy) may have replaced the file.
    if (common::fileStamp(m_files.log()) != m_stamp)
        return common::Result::failure(common::Status::Busy,
            common::cformat(common::tr("« %s » a été modifié par un autre programme depuis sa lecture ; rien n'a été "
                                       "enregistré."),
                m_files.given().string().c_str()));
    return logbook::LogbookFile::save(book, m_files);
}

int refuseOwnFile(const common::LogbookPaths &input, const std::string &out, const std::string &shown)
{
    if (!input.holds(out))
        return 0;
    return fail(common::cformat(common::tr("« %s » est le carnet lu ou l'un de ses fichiers (%s) ; choisissez un autre "
                                           "nom. Rien n'a été écrit."),
                    shown.c_str(), input.given().filename().string().c_str()),
        kExitUsage);
}

Environment::Environment(const EnvironmentOptions &options)
    : force(options.force)
{
    const std::filesystem::path dir
        = options.settingsDir ? *options.settingsDir : settings::settingsDirectory(options.programDir);
    for (const std::string &warning : load(dir, settings::ScreenSize {}).warnings)
        std::cerr << "zorv-cli: " << common::tr("attention : ") << warning << "\n";
    if (options.imperial)
        settings.unitSystem = logbook::UnitSystem::Imperial;
    if (options.standard)
        settings.advancedMode = false;
    applyTo(logbook);
}

} // namespace zorv::cli
