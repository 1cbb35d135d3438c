// The program's string table: every text the user sees, by id, as UTF-8.
#pragma once

#include <array>
#include <string_view>

namespace zorv::common::detail {

struct StringEntry {
    int id;
    std::string_view text;
};

// Sorted by id without duplicates (strings.cpp checks this at compile time): the lookup is a binary search.
// %s and %d are printf placeholders the caller fills.
inline constexpr std::array kStringTable = std::to_array<StringEntry>({
    // Tips of the day.
    { 104, "Tips et Trucs" },
    { 106, "Trucs et astuces..." },
    { 107, "Tu savais..." },
    { 108, "Le fichier tip ne se trouve pas dans le bon répertoire" },
    { 109, "Probleme avec la lecture du fichier tip" },
    { 110, "&?" },
    // Document template: title, document name, new name, filter name, extension, registry type and its name.
    { 128, "Zorv\n\nZorv\nType fichier Zorv (*.log)\n.log\nZorv.Document\nZorv Document" },
    // Dialog captions, by dialog resource.
    { 139, "Editer données de plongée" },
    { 201, "Attention" },
    { 202, "Remplir plongée" },
    { 208, "Champs de données, fenêtre principale" },
    { 213, "Message d'alarme" },
    // Menu items by command, 32831-32833 from the dive list's context menu; a tab precedes the key shown.
    { 32771, "&Calcul de plongée" },
    { 32772, "Déco" },
    { 32775, "&Editer plongée\tStrg+E" },
    { 32777, "&Insérer nouvelle plongée\tF7" },
    { 32779, "Numéroter t&outes les plongées" },
    { 32780, "&Fuseau horaire" },
    { 32781, "&Profil de plongée\tF9" },
    { 32782, "&Apperçu profil" },
    { 32784, "&Brevets et Certificats\tF1" },
    { 32785, "&Inventaire équipement\tF10" },
    { 32786, "&Pronostic" },
    { 32787, "&Créer sélection de fichiers" },
    { 32788, "Vue liste de plongée\tAlt+T" },
    { 32789, "&Données manuelles plongée" },
    { 32790, "Séparer &2 plongées" },
    { 32791, "&Fusionner 2 plongées" },
    { 32792, "A&dresses\tF11" },
    { 32796, "&Recherche avant" },
    { 32797, "R&echerche arrière" },
    { 32801, "&Plongée\tStrg+F" },
    { 32804, "&Voyages" },
    { 32805, "Recherche &avancée" },
    { 32806, "Lire données o&rdinateur\tF5" },
    { 32808, "St&atistique\tF6" },
    { 32811, "&Suivi Instructeur" },
    { 32812, "Sta&tistique Sites" },
    { 32813, "Parte&naires" },
    { 32816, "&Chercher && Remplacer" },
    { 32818, "&Copier dans presse-papier" },
    { 32819, "C&oller du presse-papier" },
    { 32820, "&Vider presse-papier" },
    { 32821, "Numéroter partie&llement" },
    { 32822, "Export vers CS&V" },
    { 32823, "&Type d'ordinateurs reconnus" },
    { 32824, "&Compatibilité" },
    { 32826, "Remplir-rectifier plongée&s" },
    { 32827, "&Comportement mensuel" },
    { 32828, "Données pays-conne&xion" },
    { 32829, "&Import Citizen" },
    { 32830, "Type d'ordinateurs" },
    { 32831, "&Editer" },
    { 32832, "&Nouveau" },
    { 32833, "&Effacer" },
    { 32834, "Import &Mares Guardian" },
    { 32835, "&Application externe\tStrg+F5" },
    { 32836, "Réouvrir C&arnet actuel\tAlt+F5" },
    // Application title.
    { 57344, "Zorv" },
    // Framework commands in the main menu.
    { 57600, "&Nouveau\tStrg+N" },
    { 57601, "&Ouvrir...\tF3 / Strg+O" },
    { 57603, "&Sauvegarder\tF2 / Strg+S" },
    { 57604, "Sauvegarder co&mme..." },
    { 57606, "Config. Imprim&ante..." },
    { 57607, "Imp&rimer...\tStrg+P" },
    { 57609, "App&erçu avant Imp" },
    { 57616, "Dernier &fichier" },
    { 57634, "&Copier dans presse-papier\tStrg+C" },
    { 57635, "Effa&cer plongée\tF8" },
    { 57637, "C&oller du presse-papier\tStrg+V" },
    { 57664, "Inf&o sur Zorv..." },
    { 57665, "&Quitter\tAlt+X" },
    // Key-state indicators of the status bar.
    { 59137, "UF" },
    { 59138, "NUM" },
    { 59139, "RF" },
    // View menu: tool bar and status bar switches.
    { 59392, "Barre des &Symboles" },
    { 59393, "&Barre d'état" },
    // Unit words, metric then imperial.
    { 62446, "m" },
    { 62447, "ft" },
    { 62448, "°C" },
    { 62449, "°F" },
    { 62450, "bar" },
    { 62451, "psi" },
    { 62452, "l" },
    { 62453, "cft" },
    { 62454, "l/min" },
    { 62455, "cft/min" },
    // Altitude classes, metric then imperial.
    { 62456, "0 m ... 900 m" },
    { 62457, "900 m ... 1750 m" },
    { 62458, "1750 m ... 2700 m" },
    { 62459, "2400 m ... 4000 m" },
    { 62460, "0 ft ... 3000 ft" },
    { 62461, "3000 ft ... 5700 ft" },
    { 62462, "5700 ft ... 8800 ft" },
    { 62463, "8800 ft ... 13300 ft" },
    // Weight units.
    { 62464, "kg" },
    { 62465, "lb" },
    // Address register and shared column titles.
    { 62466, "Nom" },
    { 62467, "Lieu" },
    { 62468, "Téléphone" },
    { 62469, "´%s´ êtes vous sûr de vouloir effacer?" },
    { 62470, "Sauvegarder liste d'adresses?" },
    // Instructor record.
    { 62472, "Fonction" },
    // Date column title.
    { 62473, "Date" },
    // Instructor record printout.
    { 62476, "Heure de cours théorie: %d, pratique: %d, personnes: %d" },
    // Fill several dives.
    { 62477, "Editer plongée" },
    // Equipment categories, in category order.
    { 62484, "Détenteur" },
    { 62485, "Bouteille" },
    { 62486, "Stab" },
    { 62487, "Ordinateur" },
    { 62488, "Combinaison" },
    { 62489, "Néoprene" },
    { 62490, "PMT" },
    { 62491, "Autres" },
    // Equipment register.
    { 62492, "Sauvegarder liste de matériel?" },
    { 62493, "´%s: %s´ vraiment effacer?" },
    { 62494, "Catégorie" },
    { 62495, "Déscription" },
    { 62496, "Utilisateur" },
    { 62497, "Prochaine révision" },
    // Writing a logbook from a selection.
    { 62499, "Charger fichier?" },
    { 62501, "´%s´ existe déjà\nEcraser fichier?" },
    // Dive number ranges.
    { 62502, "Donnée hors limite des n° de plongée" },
    { 62503, "Plongée pas trouvé" },
    // Column titles of the dive list, the table view and the CSV export.
    { 62504, "Numéro" },
    { 62505, "Heure" },
    { 62506, "Endroit" },
    { 62507, "MaxProf." },
    { 62508, "DProf" },
    { 62509, "Heure" },
    { 62510, "Cons.Moy" },
    { 62511, "Niveau d'altitude" },
    { 62512, "Temps" },
    { 62513, "Type de plongée" },
    { 62514, "Activité" },
    { 62515, "Partenaire" },
    { 62516, "Cons. air" },
    { 62517, "Temp. eau" },
    { 62518, "Temp. air" },
    // Manual dive data.
    { 62522, "Effacer vraiment le profil?" },
    // Opening and importing files.
    { 62523, "Fichier intouvable" },
    { 62524, "Erreur à l'ouverture" },
    { 62525, "Mauvais format" },
    { 62526, "Profil trop long : la fin du profil est coupée." },
    // Tank materials.
    { 62528, "Acier" },
    { 62529, "Aluminium" },
    // Suits.
    { 62530, "Pas de Combinaison" },
    { 62531, "Shorty" },
    { 62532, "Humide 1p." },
    { 62533, "Humide 2p." },
    { 62534, "Semi-étanche" },
    { 62535, "Etanche" },
    // Weather.
    { 62536, "Beau" },
    { 62537, "Nuageux" },
    { 62538, "Brouillard" },
    { 62539, "Pluie" },
    { 62540, "Tempête" },
    { 62541, "Neige" },
    // Dive type bits 2 to 8.
    { 62542, "Dans la courbe" },
    { 62543, "Décompression" },
    { 62544, "Remontée unique" },
    { 62545, "Remontées multiples" },
    { 62546, "Eau douce" },
    { 62547, "Eau de mer" },
    { 62548, "Nitrox" },
    // Activities, bits 0 to 12.
    { 62549, "Plongée-loisir" },
    { 62550, "Plongée club" },
    { 62551, "Qualification" },
    { 62552, "Instruction" },
    { 62553, "Pl. de nuit" },
    { 62554, "Pl. caverne" },
    { 62555, "Pl. sous glace" },
    { 62556, "Pl. recherche" },
    { 62557, "Pl. sur épaves" },
    { 62558, "Pl. rivière" },
    { 62559, "Pl. courant" },
    { 62560, "Pl. photo" },
    { 62561, "Autres" },
    // Warnings.
    { 62562, "REMONTEE" },
    { 62563, "DECOMPRESSION" },
    { 62564, "TRAVAIL" },
    { 62565, "SOS" },
    // Second activity set: long names, the four further extra-flag names, then short names.
    { 62566, "Pl. travail" },
    { 62567, "Pl. solo" },
    { 62568, "Chambre compression" },
    { 62569, "Pl. séminaire" },
    { 62570, "Pl. examen" },
    { 62571, "Examen" },
    { 62572, "Accomp. examen" },
    { 62573, "Pl. check" },
    { 62574, "Pl. bateau" },
    { 62575, "Pl. rivage" },
    { 62576, "Chef de palanquée" },
    { 62577, "Accompagnateur" },
    { 62578, "Travail" },
    { 62579, "Solo" },
    { 62580, "Ch.déco" },
    { 62581, "Séminaire" },
    { 62582, "PrüfTG" },
    { 62583, "PrüfAbn" },
    { 62584, "PrüfBegl" },
    { 62585, "Check" },
    // Dive page: computer name, chamber run, default logbook name, delete questions, profile kind.
    { 62586, "Donnée manuelles" },
    { 62587, "Chambre -déco" },
    { 62588, "sansnom.log" },
    { 62589, "Plongée #%d vraiment effacer?" },
    { 62590, "Plongée #%d va être éffacer" },
    { 62591, "Profil" },
    { 62592, "Profil manuel" },
    { 62593, "Pas de profil" },
    // Depth column title.
    { 62608, "Prof." },
    // Renumbering and time-zone correction.
    { 62610, "Numéroter plongées avec N§ de départ #%d?" },
    { 62611, "Donnée eronnée" },
    { 62612, "Plongée #%d à #%d\navec %s%s HH:MM corriger?" },
    // Dive search.
    { 62613, "Cela est introuvable" },
    { 62614, "Donnée ´%s´ introuvable" },
    { 62615, "Texte de recherche ´%s´ introuvable" },
    { 62616, "Activité introuvable" },
    // CSV export.
    { 62618, "Aucun champs n'est défini" },
    // Hand-drawn profile axis.
    { 62621, "Minute(s)" },
    // Dive count forecast.
    { 62622, "Plongée par mois" },
    { 62623, "Plongée par jour" },
    { 62624, "Calcul: de %2d.%4d (%-4s mois actuel)" },
    { 62625, "avec" },
    { 62626, "sans" },
    { 62627, "   %5d plongées atteintes le %2d.%02d.%04d" },
    // Dive type column title.
    { 62630, "Type" },
    // Printed statistics titles.
    { 62631, "Statistique activités de plongée" },
    { 62640, "Cons.Moy Statistiques annuels" },
    { 62645, "Cons.Moy Statistiques mensuels" },
    // Suit model column title and trip dive range title.
    { 62649, "Combi.-modèle" },
    { 62650, "Plongée" },
    // More printed statistics titles.
    { 62651, "Statistique Combinaison modèle" },
    { 62660, "Jahresstatistik" },
    { 62662, "Statitiques mensuels" },
    { 62664, "Temp. eaustatistik" },
    { 62670, "Statistique profondeur de plongée" },
    { 62679, "Type de plongée / statistique" },
    { 62688, "Statistique conditions extérieurs" },
    { 62697, "Statistique durée de plongée" },
    // Dive list column titles.
    { 62702, "Activité" },
    { 62703, "Partenaire" },
    // Dive planner result.
    { 62704,
        "\n"
        " Durée:\t\t%d min\n"
        " temps de remonté:\t\t%d min\n"
        " groupe de pression:\t%s\n"
        " ajout:\t\t%d min\n"
        " Dans la courbe:\t\t%d min\n"
        " do not fly:\t\t%d Heure\n"
        " palier\t15 m:\t%d min\n"
        " palier\t12 m:\t%d min\n"
        " palier\t 9 m:\t%d min\n"
        " palier\t 6 m:\t%d min\n"
        " palier\t 3 m:\t%d min\n"
        " pression restante:\t\t%d bar\n"
        " perte de pression:\t\t%d bar\n"
        " Cons. air:\t\t%d barl\n" },
    // Merging and splitting dives.
    { 62727, "Plongée #%d et #%d ne peuvent pas\nêtre fusionné" },
    { 62728, "Plongée #%d et #%d\n sont fusionnées" },
    { 62729, "Plongée #%d ne peut pas\nêtre coupé" },
    { 62730, "Plongée #%d\nest coupée" },
    // Transfer dialog.
    { 62731, "est connecté" },
    { 62732, "connecté" },
    { 62733, "Erreur-Com" },
    { 62734, "Attend le transfert" },
    { 62735, "Transfert en marche" },
    { 62737, "Interface" },
    { 62738, "Montre" },
    { 62739, "   Com %d pas prêt   " },
    { 62740, "      Erreur de transmission      " },
    // Trips register.
    { 62742, "Cible" },
    { 62743, "Sauvegarder fichier vacances?" },
    // Weekdays Monday to Sunday, then months; May comes last.
    { 62745, "Lu" },
    { 62746, "Ma" },
    { 62747, "Me" },
    { 62748, "Je" },
    { 62749, "Ve" },
    { 62750, "Sa" },
    { 62751, "Di" },
    { 62752, "Jan" },
    { 62753, "Fev" },
    { 62754, "Mars" },
    { 62755, "Avr" },
    { 62756, "Juin" },
    { 62757, "Juil" },
    { 62758, "Aout" },
    { 62759, "Sep" },
    { 62760, "Oct" },
    { 62761, "Nov" },
    { 62762, "Dec" },
    { 62763, "Mai" },
    // Name of the display language.
    { 62764, "Français" },
    // Computer type list.
    { 62765, "Gestion d'air" },
    { 62766, "Gaz" },
    { 62767, "Import" },
    { 62768, "Marque" },
    { 62769, "OUI" },
    { 62770, "NON" },
    { 62771, "AIR" },
    { 62772, "NITROX" },
    { 62773, "O2" },
    // Transfer dialog: other computer, computer settings, group titles, end questions.
    { 62774, "Autresr Ordinateur\nPrendre quand même plongée?" },
    { 62775, "Imperial" },
    { 62776, "Métrique" },
    { 62777, "On" },
    { 62778, "Off" },
    { 62779, "Dernier transfert ordinateur" },
    { 62780, "Transfert ordinateur actuel" },
    { 62781, "Pas de nouvelle plongée" },
    { 62782, "Détruire plongées lus?" },
    // Default menu text of the external application.
    { 62783, "&Programme externe      Strg+F5" },
    // Advanced search caption.
    { 62784, "Recherche avancé" },
    // Equipment service reminder.
    { 62785, "ATTENTION\nUne pièce de ton équipement\na dépassé le délai pour la révision!" },
    // Further column titles of the CSV export.
    { 62787, "Mat. bouteille" },
    { 62788, "Plombs" },
    { 62789, "Visibilité" },
    { 62790, "Pression-bouteille" },
    { 62791, "Commentaire" },
});

} // namespace zorv::common::detail
