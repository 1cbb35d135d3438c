#include "common/systemerror.h"

#include "common/cformat.h"
#include "common/translation.h"

#include <cerrno>

namespace zorv::common {

std::string systemErrorText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return tr("permission refusée");
    case ENOENT:
        return tr("fichier ou dossier introuvable");
    case ENOSPC:
        return tr("le disque est plein");
    case EFBIG:
        return tr("le fichier est trop grand pour le support");
    case EDQUOT:
        return tr("le quota du disque est dépassé");
    case EROFS:
        return tr("le support est en lecture seule");
    case EIO:
        return tr("erreur de lecture ou d'écriture sur le support");
    case ENAMETOOLONG:
        return tr("le nom est trop long");
    case EISDIR:
        return tr("c'est un dossier");
    case ENOTDIR:
        return tr("un élément du chemin n'est pas un dossier");
    case EEXIST:
        return tr("le fichier existe déjà");
    case EBUSY:
    case ETXTBSY:
        return tr("le fichier est occupé");
    case EMFILE:
    case ENFILE:
        return tr("trop de fichiers ouverts");
    case ELOOP:
        return tr("trop de liens symboliques");
    case EXDEV:
        return tr("le fichier est sur un autre support");
    default:
        return cformat(tr("erreur système %d"), err);
    }
}

std::string fileErrorText(std::string_view what, const std::filesystem::path &file, int err)
{
    // TRANSLATORS: what failed ("Impossible d'enregistrer"), the file's name and the system's reason.
    return cformat(tr("%s « %s » : %s"), std::string(what).c_str(),
        (file.filename().empty() ? file.string() : file.filename().string()).c_str(), systemErrorText(err).c_str());
}

Result fileFailure(std::string_view what, const std::filesystem::path &file, int err)
{
    Status status = Status::IoError;
    if (err == ENOENT)
        status = Status::NotFound;
    else if (err == EACCES || err == EPERM || err == EROFS)
        status = Status::AccessDenied;
    return Result::failure(status, fileErrorText(what, file, err));
}

} // namespace zorv::common
