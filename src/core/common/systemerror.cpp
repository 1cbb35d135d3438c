#include "common/systemerror.h"

#include "common/cformat.h"

#include <cerrno>

namespace zorv::common {

std::string systemErrorText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "permission refusée";
    case ENOENT:
        return "fichier ou dossier introuvable";
    case ENOSPC:
        return "le disque est plein";
    case EFBIG:
        return "le fichier est trop grand pour le support";
    case EDQUOT:
        return "le quota du disque est dépassé";
    case EROFS:
        return "le support est en lecture seule";
    case EIO:
        return "erreur de lecture ou d'écriture sur le support";
    case ENAMETOOLONG:
        return "le nom est trop long";
    case EISDIR:
        return "c'est un dossier";
    case ENOTDIR:
        return "un élément du chemin n'est pas un dossier";
    case EEXIST:
        return "le fichier existe déjà";
    case EBUSY:
    case ETXTBSY:
        return "le fichier est occupé";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers ouverts";
    case ELOOP:
        return "trop de liens symboliques";
    case EXDEV:
        return "le fichier est sur un autre support";
    default:
        return cformat("erreur système %d", err);
    }
}

std::string fileErrorText(std::string_view what, const std::filesystem::path &file, int err)
{
    std::string text(what);
    text += " « ";
    text += file.filename().empty() ? file.string() : file.filename().string();
    text += " » : ";
    text += systemErrorText(err);
    return text;
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
