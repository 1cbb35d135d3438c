// The program's string table: every text the user sees, by id, as UTF-8.
#pragma once

#include "common/stringid.h"
#include "common/translation.h"

#include <array>
#include <cstddef>
#include <string_view>

// A text whose French is shared with another of different meaning carries the id's name as
// its context, so that a translator sees two entries ("Heure" as a time and as a duration).
#define NC_(context, text) context "\004" text, sizeof(context)

namespace zorv::common::detail {

// `key` is what the catalogue is asked for: the French text, or "context\004French".
struct StringEntry {
    StringId id;
    const char *key;
    std::size_t frenchOffset = 0;

    constexpr std::string_view french() const { return std::string_view(key + frenchOffset); }
};

// Sorted by id without duplicates (strings.cpp checks this at compile time): the lookup is a binary search.
// %s and %d are printf placeholders the caller fills; a translation keeps them in the same order.
inline constexpr std::array kStringTable = std::to_array<StringEntry>({
    // Tips of the day.
    { StringId::TipsTitle, N_("Astuces") },
    { StringId::MenuTips, N_("Trucs et astuces...") },
    { StringId::TipsDidYouKnow, N_("Le saviez-vous ?") },
    { StringId::TipsFileMissing, N_("Le fichier des astuces ne se trouve pas dans le bon dossier") },
    { StringId::TipsFileUnreadable, N_("Problème à la lecture du fichier des astuces") },
    { StringId::MenuHelp, N_("&?") },
    // Document template: title, document name, new name, filter name, extension, registry type and its name.
    { StringId::DocumentTemplate, N_("Zorv\n\nZorv\nType fichier Zorv (*.log)\n.log\nZorv.Document\nZorv Document") },
    // Dialog captions, by dialog resource.
    { StringId::EditDiveCaption, N_("Modifier les données de plongée") },
    { StringId::AttentionCaption, N_("Attention") },
    { StringId::FillDiveCaption, N_("Remplir les plongées") },
    { StringId::DataFieldsCaption, N_("Champs de données, fenêtre principale") },
    { StringId::AlarmCaption, N_("Message d'alarme") },
    // Menu items by command, 32831-32833 from the dive list's context menu; a tab precedes the key shown.
    { StringId::MenuPlanner, N_("&Planification de plongée") },
    { StringId::MenuNoDecoComparison, N_("Déc&o") },
    { StringId::MenuEditDive, N_("&Modifier la plongée\tCtrl+E") },
    { StringId::MenuInsertDive, N_("&Insérer une nouvelle plongée\tF7") },
    { StringId::MenuRenumberAll, N_("Numéroter &toutes les plongées") },
    { StringId::MenuTimeZone, N_("&Fuseau horaire") },
    { StringId::MenuProfileWindow, N_("&Profil de plongée\tF9") },
    { StringId::MenuProfilePreview, N_("&Aperçu du profil") },
    { StringId::MenuCertificates, N_("&Brevets et certificats\tF1") },
    { StringId::MenuEquipment, N_("&Inventaire du matériel\tF10") },
    { StringId::MenuForecast, N_("P&révision") },
    { StringId::MenuCreateSelection, N_("&Créer un carnet de la sélection") },
    { StringId::MenuTableView, N_("Vue en tableau des plongées\tAlt+T") },
    { StringId::MenuManualData, N_("&Données manuelles de plongée") },
    { StringId::MenuSplitDive, N_("Séparer en &2 plongées") },
    { StringId::MenuMergeDives, N_("F&usionner 2 plongées") },
    { StringId::MenuAddresses, N_("A&dresses\tF11") },
    { StringId::MenuSearchForward, N_("&Rechercher vers l'avant") },
    { StringId::MenuSearchBackward, N_("R&echercher vers l'arrière") },
    { StringId::MenuSearchDive, N_("&Plongée\tCtrl+F") },
    { StringId::MenuTrips, N_("&Voyages") },
    { StringId::MenuAdvancedSearch, N_("Recherche &avancée") },
    { StringId::MenuReadComputer, N_("&Lire les données de l'ordinateur\tF5") },
    { StringId::MenuStatistics, N_("St&atistiques\tF6") },
    { StringId::MenuInstructorRecord, N_("&Suivi instructeur") },
    { StringId::MenuSiteStatistics, N_("Sta&tistiques des sites") },
    { StringId::MenuPartnerStatistics, N_("Parte&naires") },
    { StringId::MenuSearchReplace, N_("&Chercher et remplacer") },
    { StringId::MenuMultiCopy, N_("&Copier dans le presse-papiers") },
    { StringId::MenuMultiPaste, N_("C&oller du presse-papiers") },
    { StringId::MenuMultiClear, N_("&Vider le presse-papiers") },
    { StringId::MenuRenumberPart, N_("Numéroter parti&ellement") },
    { StringId::MenuExportCsv, N_("Export vers ta&bleur (CSV)") },
    { StringId::MenuKnownComputers, N_("Ordinateurs &reconnus") },
    { StringId::MenuCompatibility, N_("&Compatibilité") },
    { StringId::MenuFillDives, N_("Remplir ou corriger des plongée&s") },
    { StringId::MenuMonthlyStatistics, N_("Activité &mensuelle") },
    { StringId::MenuOptions, N_("Pays et conne&xion") },
    { StringId::MenuImportCitizen, N_("&Import Citizen") },
    { StringId::MenuComputerTypes, N_("Types d'ordinateurs") },
    { StringId::ContextEdit, N_("&Modifier") },
    { StringId::ContextNew, N_("&Nouveau") },
    { StringId::ContextDelete, N_("&Supprimer") },
    { StringId::MenuImportGuardian, N_("Import &Mares Guardian") },
    { StringId::MenuExternalApplication, N_("&Application externe\tCtrl+F5") },
    { StringId::MenuReopenLogbook, N_("Rouvrir le c&arnet actuel\tAlt+F5") },
    { StringId::MenuExportUddf, N_("Exporter U&DDF…") },
    { StringId::MenuImportUddf, N_("Importer UDD&F…") },
    // Application title.
    { StringId::AppTitle, N_("Zorv") },
    // Framework commands in the main menu.
    { StringId::MenuNewLogbook, N_("&Nouveau\tCtrl+N") },
    { StringId::MenuOpenLogbook, N_("&Ouvrir...\tF3 / Ctrl+O") },
    { StringId::MenuSaveLogbook, N_("&Enregistrer\tF2 / Ctrl+S") },
    { StringId::MenuSaveLogbookAs, N_("Enregistrer so&us...") },
    { StringId::MenuPrintSetup, N_("Confi&guration de l'imprimante...") },
    { StringId::MenuPrint, N_("Imp&rimer...\tCtrl+P") },
    { StringId::MenuPrintPreview, N_("A&perçu avant impression") },
    { StringId::MenuRecentFile, N_("Dernier &fichier") },
    { StringId::MenuCopyDive, N_("&Copier dans le presse-papiers\tCtrl+C") },
    { StringId::MenuDeleteDive, N_("Supprimer la plon&gée\tF8") },
    { StringId::MenuPasteDive, N_("C&oller du presse-papiers\tCtrl+V") },
    { StringId::MenuAbout, N_("À pr&opos de Zorv...") },
    { StringId::MenuQuit, N_("&Quitter\tAlt+X") },
    // Key-state indicators of the status bar.
    { StringId::IndicatorCaps, N_("MAJ") },
    { StringId::IndicatorNum, N_("NUM") },
    { StringId::IndicatorScroll, N_("DEF") },
    // View menu: tool bar and status bar switches.
    { StringId::MenuToolBar, N_("Barre d'&outils") },
    { StringId::MenuStatusBar, N_("&Barre d'état") },
    // Unit words, metric then imperial.
    { StringId::UnitMetres, N_("m") },
    { StringId::UnitFeet, N_("ft") },
    { StringId::UnitCelsius, N_("°C") },
    { StringId::UnitFahrenheit, N_("°F") },
    { StringId::UnitBar, N_("bar") },
    { StringId::UnitPsi, N_("psi") },
    { StringId::UnitLitres, N_("l") },
    { StringId::UnitCubicFeet, N_("cft") },
    { StringId::UnitLitresPerMinute, N_("l/min") },
    { StringId::UnitCubicFeetPerMinute, N_("cft/min") },
    // Altitude classes, metric then imperial.
    { StringId::AltitudeMetric1, N_("0 m ... 900 m") },
    { StringId::AltitudeMetric2, N_("900 m ... 1750 m") },
    { StringId::AltitudeMetric3, N_("1750 m ... 2700 m") },
    { StringId::AltitudeMetric4, N_("2400 m ... 4000 m") },
    { StringId::AltitudeImperial1, N_("0 ft ... 3000 ft") },
    { StringId::AltitudeImperial2, N_("3000 ft ... 5700 ft") },
    { StringId::AltitudeImperial3, N_("5700 ft ... 8800 ft") },
    { StringId::AltitudeImperial4, N_("8800 ft ... 13300 ft") },
    // Weight units.
    { StringId::UnitKilograms, N_("kg") },
    { StringId::UnitPounds, N_("lb") },
    // Address register and shared column titles.
    { StringId::ColumnName, N_("Nom") },
    { StringId::ColumnPlace, N_("Lieu") },
    { StringId::ColumnPhone, N_("Téléphone") },
    { StringId::AskDeleteNamed, N_("Voulez-vous vraiment supprimer ´%s´ ?") },
    { StringId::AskSaveAddresses, N_("Enregistrer la liste d'adresses ?") },
    // Instructor record.
    { StringId::ColumnFunction, N_("Fonction") },
    // Date column title.
    { StringId::ColumnDate, N_("Date") },
    // Instructor record printout.
    { StringId::InstructorHoursLine, N_("Heures de cours théoriques : %d, pratiques : %d, personnes : %d") },
    // Fill several dives.
    { StringId::EditDiveTitle, N_("Modifier la plongée") },
    // Equipment categories, in category order.
    { StringId::EquipmentRegulator, N_("Détenteur") },
    { StringId::EquipmentTank, N_("Bouteille") },
    { StringId::EquipmentJacket, N_("Stab") },
    { StringId::EquipmentComputer, N_("Ordinateur") },
    { StringId::EquipmentSuit, N_("Combinaison") },
    { StringId::EquipmentNeoprene, N_("Néoprène") },
    { StringId::EquipmentMaskFinsSnorkel, N_("PMT") },
    { StringId::EquipmentOther, N_("Autres") },
    // Equipment register.
    { StringId::AskSaveEquipment, N_("Enregistrer la liste du matériel ?") },
    { StringId::AskDeleteEquipment, N_("Supprimer vraiment ´%s : %s´ ?") },
    { StringId::ColumnCategory, N_("Catégorie") },
    { StringId::ColumnDescription, N_("Description") },
    { StringId::ColumnUser, N_("Utilisateur") },
    { StringId::ColumnNextService, N_("Prochaine révision") },
    // Writing a logbook from a selection.
    { StringId::AskLoadFile, N_("Charger le fichier ?") },
    { StringId::AskOverwriteFile, N_("´%s´ existe déjà\nÉcraser le fichier ?") },
    // Dive number ranges.
    { StringId::DiveNumberOutOfRange, N_("Numéro de plongée hors limites") },
    { StringId::DiveNotFound, N_("Plongée introuvable") },
    // Column titles of the dive list, the table view and the CSV export.
    { StringId::ColumnNumber, N_("Numéro") },
    { StringId::ColumnTime, NC_("ColumnTime", "Heure") },
    { StringId::ColumnSite, N_("Endroit") },
    { StringId::ColumnMaxDepth, N_("MaxProf.") },
    { StringId::ColumnMeanDepth, N_("DProf") },
    { StringId::ColumnDuration, NC_("ColumnDuration", "Heure") },
    { StringId::ColumnMeanConsumption, N_("Cons.Moy") },
    { StringId::ColumnAltitudeClass, N_("Niveau d'altitude") },
    { StringId::ColumnWeather, N_("Temps") },
    { StringId::ColumnDiveType, N_("Type de plongée") },
    { StringId::ColumnActivity, N_("Activité") },
    { StringId::ColumnPartner, N_("Partenaire") },
    { StringId::ColumnAirConsumption, N_("Cons. air") },
    { StringId::ColumnWaterTemperature, N_("Temp. eau") },
    { StringId::ColumnAirTemperature, N_("Temp. air") },
    // Manual dive data.
    { StringId::AskDeleteProfile, N_("Supprimer vraiment le profil ?") },
    // Opening and importing files.
    { StringId::FileNotFound, N_("Fichier introuvable") },
    { StringId::OpenError, N_("Erreur à l'ouverture") },
    { StringId::BadFormat, N_("Mauvais format") },
    { StringId::ProfileCutShort, N_("Profil trop long : la fin du profil est coupée.") },
    { StringId::ImportImpossibleValue, N_("Valeur impossible, rien n'est importé : %s") },
    // Tank materials.
    { StringId::TankSteel, N_("Acier") },
    { StringId::TankAluminium, N_("Aluminium") },
    // Suits.
    { StringId::SuitNone, N_("Pas de combinaison") },
    { StringId::SuitShorty, N_("Shorty") },
    { StringId::SuitWetOnePiece, N_("Humide 1p.") },
    { StringId::SuitWetTwoPiece, N_("Humide 2p.") },
    { StringId::SuitSemiDry, N_("Semi-étanche") },
    { StringId::SuitDry, N_("Étanche") },
    // Weather.
    { StringId::WeatherClear, N_("Beau") },
    { StringId::WeatherCloudy, N_("Nuageux") },
    { StringId::WeatherFog, N_("Brouillard") },
    { StringId::WeatherRain, N_("Pluie") },
    { StringId::WeatherStorm, N_("Tempête") },
    { StringId::WeatherSnow, N_("Neige") },
    // Dive type bits 2 to 8.
    { StringId::DiveTypeNoDeco, N_("Dans la courbe") },
    { StringId::DiveTypeDeco, N_("Décompression") },
    { StringId::DiveTypeSingleAscent, N_("Remontée unique") },
    { StringId::DiveTypeMultipleAscents, N_("Remontées multiples") },
    { StringId::DiveTypeFreshWater, N_("Eau douce") },
    { StringId::DiveTypeSeaWater, N_("Eau de mer") },
    { StringId::DiveTypeNitrox, N_("Nitrox") },
    // Activities, bits 0 to 12.
    { StringId::ActivityLeisure, N_("Plongée loisir") },
    { StringId::ActivityClub, N_("Plongée club") },
    { StringId::ActivityQualification, N_("Qualification") },
    { StringId::ActivityInstruction, N_("Instruction") },
    { StringId::ActivityNight, N_("Pl. de nuit") },
    { StringId::ActivityCave, N_("Pl. souterraine") },
    { StringId::ActivityIce, N_("Pl. sous glace") },
    { StringId::ActivitySearch, N_("Pl. recherche") },
    { StringId::ActivityWreck, N_("Pl. sur épave") },
    { StringId::ActivityRiver, N_("Pl. en rivière") },
    { StringId::ActivityCurrent, N_("Pl. dérivante") },
    { StringId::ActivityPhoto, N_("Pl. photo") },
    { StringId::ActivityOther, N_("Autres") },
    // Warnings.
    { StringId::WarningAscent, N_("REMONTÉE") },
    { StringId::WarningDecompression, N_("DÉCOMPRESSION") },
    { StringId::WarningWorkload, N_("TRAVAIL") },
    { StringId::WarningSos, N_("SOS") },
    // Second activity set: long names, the four further extra-flag names, then short names.
    { StringId::SecondWork, N_("Pl. travail") },
    { StringId::SecondSolo, N_("Pl. solo") },
    { StringId::SecondChamber, N_("Chambre compression") },
    { StringId::SecondSeminar, N_("Pl. séminaire") },
    { StringId::SecondExamDive, N_("Pl. examen") },
    { StringId::SecondExam, N_("Examen") },
    { StringId::SecondExamEscort, N_("Accomp. examen") },
    { StringId::SecondCheckDive, N_("Pl. check") },
    { StringId::SecondBoat, N_("Pl. bateau") },
    { StringId::SecondShore, N_("Pl. rivage") },
    { StringId::SecondDiveLeader, N_("Chef de palanquée") },
    { StringId::SecondEscort, N_("Accompagnateur") },
    { StringId::SecondWorkShort, N_("Travail") },
    { StringId::SecondSoloShort, N_("Solo") },
    { StringId::SecondChamberShort, N_("Ch.déco") },
    { StringId::SecondSeminarShort, N_("Séminaire") },
    { StringId::SecondExamDiveShort, N_("PrüfTG") },
    { StringId::SecondExamShort, N_("PrüfAbn") },
    { StringId::SecondExamEscortShort, N_("PrüfBegl") },
    { StringId::SecondCheckDiveShort, N_("Check") },
    // Dive page: computer name, chamber run, default logbook name, delete questions, profile kind.
    { StringId::ManualDataComputer, N_("Données manuelles") },
    { StringId::ChamberRun, N_("Caisson de décompression") },
    { StringId::UntitledLogbook, N_("sansnom.log") },
    { StringId::AskDeleteDive, N_("Supprimer vraiment la plongée n°%d ?") },
    { StringId::DiveWillBeDeleted, N_("La plongée n°%d va être supprimée") },
    { StringId::ProfileKindRecorded, N_("Profil") },
    { StringId::ProfileKindManual, N_("Profil manuel") },
    { StringId::ProfileKindNone, N_("Pas de profil") },
    // Depth column title.
    { StringId::ColumnDepth, N_("Prof.") },
    // Renumbering and time-zone correction.
    { StringId::AskRenumber, N_("Numéroter les plongées à partir du n°%d ?") },
    { StringId::WrongData, N_("Donnée erronée") },
    { StringId::AskTimeZoneCorrection, N_("Corriger les plongées n°%d à n°%d\nde %s%s HH:MM ?") },
    // Dive search.
    { StringId::SearchNotFound, N_("Introuvable") },
    { StringId::SearchDataNotFound, N_("Donnée ´%s´ introuvable") },
    { StringId::SearchTextNotFound, N_("Texte de recherche ´%s´ introuvable") },
    { StringId::SearchActivityNotFound, N_("Activité introuvable") },
    // CSV export.
    { StringId::CsvNoFields, N_("Aucun champ n'est choisi") },
    // Hand-drawn profile axis.
    { StringId::AxisMinutes, N_("Minute(s)") },
    // Dive count forecast.
    { StringId::ForecastPerMonth, N_("Plongées par mois") },
    { StringId::ForecastPerDay, N_("Plongées par jour") },
    { StringId::ForecastFrom, N_("Calcul : à partir de %2d.%4d (%-4s mois en cours)") },
    { StringId::ForecastWith, N_("avec") },
    { StringId::ForecastWithout, N_("sans") },
    { StringId::ForecastReached, N_("   %5d plongées atteintes le %2d.%02d.%04d") },
    // Dive type column title.
    { StringId::ColumnType, N_("Type") },
    // Printed statistics titles.
    { StringId::StatisticsActivities, N_("Statistiques des activités de plongée") },
    { StringId::StatisticsYearlyConsumption, N_("Cons.Moy, statistiques annuelles") },
    { StringId::StatisticsMonthlyConsumption, N_("Cons.Moy, statistiques mensuelles") },
    // Suit model column title and trip dive range title.
    { StringId::ColumnSuitModel, N_("Combi.-modèle") },
    { StringId::ColumnDive, N_("Plongée") },
    // More printed statistics titles.
    { StringId::StatisticsSuitModel, N_("Statistiques des modèles de combinaison") },
    { StringId::StatisticsYearly, N_("Statistiques annuelles") },
    { StringId::StatisticsMonthly, N_("Statistiques mensuelles") },
    { StringId::StatisticsWaterTemperature, N_("Statistiques de température de l'eau") },
    { StringId::StatisticsDepth, N_("Statistiques de profondeur") },
    { StringId::StatisticsDiveType, N_("Statistiques des types de plongée") },
    { StringId::StatisticsConditions, N_("Statistiques des conditions extérieures") },
    { StringId::StatisticsDuration, N_("Statistiques de durée de plongée") },
    // Dive list column titles.
    { StringId::ListColumnActivity, N_("Activité") },
    { StringId::ListColumnPartner, N_("Partenaire") },
    // Dive planner result.
    { StringId::PlannerResult,
        N_("\n"
           " Durée:\t\t%d min\n"
           " Temps de remontée:\t\t%d min\n"
           " Groupe de pression:\t%s\n"
           " Majoration:\t\t%d min\n"
           " Dans la courbe:\t\t%d min\n"
           " Interdiction de vol:\t\t%d heures\n"
           " Palier 15 m:\t%d min\n"
           " Palier 12 m:\t%d min\n"
           " Palier 9 m:\t%d min\n"
           " Palier 6 m:\t%d min\n"
           " Palier 3 m:\t%d min\n"
           " Pression restante:\t\t%d bar\n"
           " Pression consommée:\t\t%d bar\n"
           " Cons. air:\t\t%d bar·l\n") },
    // Merging and splitting dives.
    { StringId::SplitLogbookFull, N_("(le carnet contient déjà 32767 plongées, le maximum)") },
    { StringId::MergeRefused, N_("Les plongées n°%d et n°%d ne peuvent pas\nêtre fusionnées") },
    { StringId::MergeDone, N_("Les plongées n°%d et n°%d\nsont fusionnées") },
    { StringId::SplitRefused, N_("La plongée n°%d ne peut pas\nêtre séparée") },
    { StringId::SplitDone, N_("La plongée n°%d\nest séparée") },
    // Transfer dialog.
    { StringId::TransferConnected, N_("connecté") },
    { StringId::TransferNotConnected, N_("non connecté") },
    { StringId::TransferComError, N_("Erreur de communication") },
    { StringId::TransferWaiting, N_("En attente du transfert") },
    { StringId::TransferRunning, N_("Transfert en cours") },
    { StringId::TransferInterface, N_("Interface") },
    { StringId::TransferWatch, N_("Montre") },
    { StringId::TransferPortNotReady, N_("   Port COM %d pas prêt   ") },
    { StringId::TransferError, N_("      Erreur de transmission      ") },
    // Trips register.
    { StringId::ColumnDestination, N_("Destination") },
    { StringId::AskSaveTrips, N_("Enregistrer le fichier des voyages ?") },
    // Weekdays Monday to Sunday, then months; May comes last.
    { StringId::WeekdayMonday, N_("Lu") },
    { StringId::WeekdayTuesday, N_("Ma") },
    { StringId::WeekdayWednesday, N_("Me") },
    { StringId::WeekdayThursday, N_("Je") },
    { StringId::WeekdayFriday, N_("Ve") },
    { StringId::WeekdaySaturday, N_("Sa") },
    { StringId::WeekdaySunday, N_("Di") },
    { StringId::MonthJanuary, N_("Jan") },
    { StringId::MonthFebruary, N_("Fév") },
    { StringId::MonthMarch, N_("Mars") },
    { StringId::MonthApril, N_("Avr") },
    { StringId::MonthJune, N_("Juin") },
    { StringId::MonthJuly, N_("Juil") },
    { StringId::MonthAugust, N_("Août") },
    { StringId::MonthSeptember, N_("Sep") },
    { StringId::MonthOctober, N_("Oct") },
    { StringId::MonthNovember, N_("Nov") },
    { StringId::MonthDecember, N_("Déc") },
    { StringId::MonthMay, N_("Mai") },
    // Name of the display language.
    { StringId::LanguageName, N_("Français") },
    // Computer type list.
    { StringId::ComputerAirIntegrated, N_("Gestion d'air") },
    { StringId::ComputerGas, N_("Gaz") },
    { StringId::ComputerImport, N_("Import") },
    { StringId::ComputerBrand, N_("Marque") },
    { StringId::Yes, N_("OUI") },
    { StringId::No, N_("NON") },
    { StringId::GasAir, N_("AIR") },
    { StringId::GasNitrox, N_("NITROX") },
    { StringId::GasOxygen, N_("O2") },
    // Transfer dialog: other computer, computer settings, group titles, end questions.
    { StringId::AskOtherComputer, N_("Autre ordinateur\nReprendre quand même les plongées ?") },
    { StringId::UnitsImperial, N_("Impérial") },
    { StringId::UnitsMetric, N_("Métrique") },
    { StringId::On, N_("Activé") },
    { StringId::Off, N_("Désactivé") },
    { StringId::LastTransfer, N_("Dernier transfert de l'ordinateur") },
    { StringId::CurrentTransfer, N_("Transfert actuel de l'ordinateur") },
    { StringId::NoNewDive, N_("Pas de nouvelle plongée") },
    { StringId::AskDiscardDives, N_("Abandonner les plongées lues ?") },
    // Default menu text of the external application.
    { StringId::ExternalProgramMenu, N_("Programme e&xterne") },
    // Advanced search caption.
    { StringId::AdvancedSearchCaption, N_("Recherche avancée") },
    // Equipment service reminder.
    { StringId::ServiceReminder, N_("ATTENTION\nUne pièce de votre équipement\na dépassé la date de révision !") },
    // Further column titles of the CSV export.
    { StringId::ColumnTankMaterial, N_("Mat. bouteille") },
    { StringId::ColumnWeights, N_("Plombs") },
    { StringId::ColumnVisibility, N_("Visibilité") },
    { StringId::ColumnTankPressure, N_("Pression-bouteille") },
    { StringId::ColumnComment, N_("Commentaire") },
});

} // namespace zorv::common::detail

#undef NC_
