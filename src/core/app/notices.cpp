#include "app/notices.h"

namespace zorv::app {

std::string compatibilityNotice()
{
    return common::tr("Zorv lit et écrit les carnets de plongée des versions précédentes (fichiers .log et .add) "
                      "sans les convertir : un carnet enregistré ici s'ouvre aussi dans les anciennes versions.\n\n"
                      "Les textes y sont gardés dans le jeu de caractères DOS de ces fichiers ; un caractère qu'il "
                      "ne connaît pas est remplacé à l'enregistrement.\n\n"
                      "Le mode « Standard » n'écrit pas le fichier .add : les champs du mode avancé "
                      "(plombs, visibilité, pression, commentaire long) ne sont gardés qu'en mode avancé.\n\n"
                      "Faites une copie de vos carnets avant de les ouvrir pour la première fois.");
}

std::string aboutText(std::string_view version)
{
    std::string text = "Zorv ";
    text += version;
    // FIXME: the licence is not chosen yet; its line says only what holds today.
    text += common::tr("\nCarnet de plongée\n\n"
                       "Licence : programme fourni tel quel, sans aucune garantie.\n\n"
                       "Fichiers lus :\n"
                       "  carnets de plongée .log et .add\n"
                       "  mémoire des ordinateurs de plongée, par le câble série, et ses copies dump.dmp\n"
                       "  couleurs des profils .cst\n"
                       "  réglages Zorv.ini et types d'ordinateurs Ctyp.ini\n"
                       "  astuces tips.txt");
    return text;
}

} // namespace zorv::app
