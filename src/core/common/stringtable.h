// The program's string table: every text the user sees, by id, as UTF-8.
#pragma once

#include "common/stringid.h"

#include <array>
#include <string_view>

namespace zorv::common::detail {

struct StringEntry {
    StringId id;
    std::string_view text;
};

// Sorted by id without duplicates (strings.cpp checks this at compile time): the lookup is a binary search.
// %s and %d are printf placeholders the caller fills.
inline constexpr std::array kStringTable = std::to_array<StringEntry>({
    // Tips of the day.
    { StringId::TipsTitle, "Tips et Trucs" },
    { StringId::MenuTips, "Trucs et astuces..." },
    { StringId::TipsDidYouKnow, "Tu savais..." },
    { StringId::TipsFileMissing, "Le fichier tip ne se trouve pas dans le bon répertoire" },
    { StringId::TipsFileUnreadable, "Probleme avec la lecture du fichier tip" },
    { StringId::MenuHelp, "&?" },
    // Document template: title, document name, new name, filter name, extension, registry type and its name.
    { StringId::DocumentTemplate, "Zorv\n\nZorv\nType fichier Zorv (*.log)\n.log\nZorv.Document\nZorv Document" },
    // Dialog captions, by dialog resource.
    { StringId::EditDiveCaption, "Editer données de plongée" },
    { StringId::AttentionCaption, "Attention" },
    { StringId::FillDiveCaption, "Remplir plongée" },
    { StringId::DataFieldsCaption, "Champs de données, fenêtre principale" },
    { StringId::AlarmCaption, "Message d'alarme" },
    // Menu items by command, 32831-32833 from the dive list's context menu; a tab precedes the key shown.
    { StringId::MenuPlanner, "&Calcul de plongée" },
    { StringId::MenuNoDecoComparison, "Déc&o" },
    { StringId::MenuEditDive, "&Editer plongée\tStrg+E" },
    { StringId::MenuInsertDive, "&Insérer nouvelle plongée\tF7" },
    { StringId::MenuRenumberAll, "Numéroter &toutes les plongées" },
    { StringId::MenuTimeZone, "&Fuseau horaire" },
    { StringId::MenuProfileWindow, "&Profil de plongée\tF9" },
    { StringId::MenuProfilePreview, "&Apperçu profil" },
    { StringId::MenuCertificates, "&Brevets et Certificats\tF1" },
    { StringId::MenuEquipment, "&Inventaire équipement\tF10" },
    { StringId::MenuForecast, "Pro&nostic" },
    { StringId::MenuCreateSelection, "&Créer sélection de fichiers" },
    { StringId::MenuTableView, "Vue &liste de plongée\tAlt+T" },
    { StringId::MenuManualData, "&Données manuelles plongée" },
    { StringId::MenuSplitDive, "Séparer &2 plongées" },
    { StringId::MenuMergeDives, "F&usionner 2 plongées" },
    { StringId::MenuAddresses, "A&dresses\tF11" },
    { StringId::MenuSearchForward, "&Recherche avant" },
    { StringId::MenuSearchBackward, "R&echerche arrière" },
    { StringId::MenuSearchDive, "&Plongée\tStrg+F" },
    { StringId::MenuTrips, "&Voyages" },
    { StringId::MenuAdvancedSearch, "Recherche &avancée" },
    { StringId::MenuReadComputer, "Lire données ordi&nateur\tF5" },
    { StringId::MenuStatistics, "St&atistique\tF6" },
    { StringId::MenuInstructorRecord, "&Suivi Instructeur" },
    { StringId::MenuSiteStatistics, "Sta&tistique Sites" },
    { StringId::MenuPartnerStatistics, "Parte&naires" },
    { StringId::MenuSearchReplace, "&Chercher && Remplacer" },
    { StringId::MenuMultiCopy, "&Copier dans presse-papier" },
    { StringId::MenuMultiPaste, "C&oller du presse-papier" },
    { StringId::MenuMultiClear, "&Vider presse-papier" },
    { StringId::MenuRenumberPart, "Numéroter partie&llement" },
    { StringId::MenuExportCsv, "Export vers CS&V" },
    { StringId::MenuKnownComputers, "&Type d'ordinateurs reconnus" },
    { StringId::MenuCompatibility, "&Compatibilité" },
    { StringId::MenuFillDives, "Remplir-rectifier plongée&s" },
    { StringId::MenuMonthlyStatistics, "&Comportement mensuel" },
    { StringId::MenuOptions, "Données pays-conne&xion" },
    { StringId::MenuImportCitizen, "&Import Citizen" },
    { StringId::MenuComputerTypes, "&Type d'ordinateurs" },
    { StringId::ContextEdit, "&Editer" },
    { StringId::ContextNew, "&Nouveau" },
    { StringId::ContextDelete, "&Effacer" },
    { StringId::MenuImportGuardian, "Import Mares &Guardian" },
    { StringId::MenuExternalApplication, "&Application externe\tStrg+F5" },
    { StringId::MenuReopenLogbook, "Réouvrir C&arnet actuel\tAlt+F5" },
    { StringId::MenuExportUddf, "Exporter U&DDF…" },
    { StringId::MenuImportUddf, "Importer UDD&F…" },
    // Application title.
    { StringId::AppTitle, "Zorv" },
    // Framework commands in the main menu.
    { StringId::MenuNewLogbook, "&Nouveau\tStrg+N" },
    { StringId::MenuOpenLogbook, "&Ouvrir...\tF3 / Strg+O" },
    { StringId::MenuSaveLogbook, "&Sauvegarder\tF2 / Strg+S" },
    { StringId::MenuSaveLogbookAs, "Sauvegarder co&mme..." },
    { StringId::MenuPrintSetup, "Config. Im&primante..." },
    { StringId::MenuPrint, "Imp&rimer...\tStrg+P" },
    { StringId::MenuPrintPreview, "App&erçu avant Imp" },
    { StringId::MenuRecentFile, "Dernier &fichier" },
    { StringId::MenuCopyDive, "&Copier dans presse-papier\tStrg+C" },
    { StringId::MenuDeleteDive, "Effacer plon&gée\tF8" },
    { StringId::MenuPasteDive, "C&oller du presse-papier\tStrg+V" },
    { StringId::MenuAbout, "Inf&o sur Zorv..." },
    { StringId::MenuQuit, "&Quitter\tAlt+X" },
    // Key-state indicators of the status bar.
    { StringId::IndicatorCaps, "UF" },
    { StringId::IndicatorNum, "NUM" },
    { StringId::IndicatorScroll, "RF" },
    // View menu: tool bar and status bar switches.
    { StringId::MenuToolBar, "Barre des &Symboles" },
    { StringId::MenuStatusBar, "&Barre d'état" },
    // Unit words, metric then imperial.
    { StringId::UnitMetres, "m" },
    { StringId::UnitFeet, "ft" },
    { StringId::UnitCelsius, "°C" },
    { StringId::UnitFahrenheit, "°F" },
    { StringId::UnitBar, "bar" },
    { StringId::UnitPsi, "psi" },
    { StringId::UnitLitres, "l" },
    { StringId::UnitCubicFeet, "cft" },
    { StringId::UnitLitresPerMinute, "l/min" },
    { StringId::UnitCubicFeetPerMinute, "cft/min" },
    // Altitude classes, metric then imperial.
    { StringId::AltitudeMetric1, "0 m ... 900 m" },
    { StringId::AltitudeMetric2, "900 m ... 1750 m" },
    { StringId::AltitudeMetric3, "1750 m ... 2700 m" },
    { StringId::AltitudeMetric4, "2400 m ... 4000 m" },
    { StringId::AltitudeImperial1, "0 ft ... 3000 ft" },
    { StringId::AltitudeImperial2, "3000 ft ... 5700 ft" },
    { StringId::AltitudeImperial3, "5700 ft ... 8800 ft" },
    { StringId::AltitudeImperial4, "8800 ft ... 13300 ft" },
    // Weight units.
    { StringId::UnitKilograms, "kg" },
    { StringId::UnitPounds, "lb" },
    // Address register and shared column titles.
    { StringId::ColumnName, "Nom" },
    { StringId::ColumnPlace, "Lieu" },
    { StringId::ColumnPhone, "Téléphone" },
    { StringId::AskDeleteNamed, "´%s´ êtes vous sûr de vouloir effacer?" },
    { StringId::AskSaveAddresses, "Sauvegarder liste d'adresses?" },
    // Instructor record.
    { StringId::ColumnFunction, "Fonction" },
    // Date column title.
    { StringId::ColumnDate, "Date" },
    // Instructor record printout.
    { StringId::InstructorHoursLine, "Heure de cours théorie: %d, pratique: %d, personnes: %d" },
    // Fill several dives.
    { StringId::EditDiveTitle, "Editer plongée" },
    // Equipment categories, in category order.
    { StringId::EquipmentRegulator, "Détenteur" },
    { StringId::EquipmentTank, "Bouteille" },
    { StringId::EquipmentJacket, "Stab" },
    { StringId::EquipmentComputer, "Ordinateur" },
    { StringId::EquipmentSuit, "Combinaison" },
    { StringId::EquipmentNeoprene, "Néoprene" },
    { StringId::EquipmentMaskFinsSnorkel, "PMT" },
    { StringId::EquipmentOther, "Autres" },
    // Equipment register.
    { StringId::AskSaveEquipment, "Sauvegarder liste de matériel?" },
    { StringId::AskDeleteEquipment, "´%s: %s´ vraiment effacer?" },
    { StringId::ColumnCategory, "Catégorie" },
    { StringId::ColumnDescription, "Déscription" },
    { StringId::ColumnUser, "Utilisateur" },
    { StringId::ColumnNextService, "Prochaine révision" },
    // Writing a logbook from a selection.
    { StringId::AskLoadFile, "Charger fichier?" },
    { StringId::AskOverwriteFile, "´%s´ existe déjà\nEcraser fichier?" },
    // Dive number ranges.
    { StringId::DiveNumberOutOfRange, "Donnée hors limite des n° de plongée" },
    { StringId::DiveNotFound, "Plongée pas trouvé" },
    // Column titles of the dive list, the table view and the CSV export.
    { StringId::ColumnNumber, "Numéro" },
    { StringId::ColumnTime, "Heure" },
    { StringId::ColumnSite, "Endroit" },
    { StringId::ColumnMaxDepth, "MaxProf." },
    { StringId::ColumnMeanDepth, "DProf" },
    { StringId::ColumnDuration, "Heure" },
    { StringId::ColumnMeanConsumption, "Cons.Moy" },
    { StringId::ColumnAltitudeClass, "Niveau d'altitude" },
    { StringId::ColumnWeather, "Temps" },
    { StringId::ColumnDiveType, "Type de plongée" },
    { StringId::ColumnActivity, "Activité" },
    { StringId::ColumnPartner, "Partenaire" },
    { StringId::ColumnAirConsumption, "Cons. air" },
    { StringId::ColumnWaterTemperature, "Temp. eau" },
    { StringId::ColumnAirTemperature, "Temp. air" },
    // Manual dive data.
    { StringId::AskDeleteProfile, "Effacer vraiment le profil?" },
    // Opening and importing files.
    { StringId::FileNotFound, "Fichier intouvable" },
    { StringId::OpenError, "Erreur à l'ouverture" },
    { StringId::BadFormat, "Mauvais format" },
    { StringId::ProfileCutShort, "Profil trop long : la fin du profil est coupée." },
    { StringId::ImportImpossibleValue, "Valeur impossible, rien n'est importé : %s" },
    // Tank materials.
    { StringId::TankSteel, "Acier" },
    { StringId::TankAluminium, "Aluminium" },
    // Suits.
    { StringId::SuitNone, "Pas de Combinaison" },
    { StringId::SuitShorty, "Shorty" },
    { StringId::SuitWetOnePiece, "Humide 1p." },
    { StringId::SuitWetTwoPiece, "Humide 2p." },
    { StringId::SuitSemiDry, "Semi-étanche" },
    { StringId::SuitDry, "Etanche" },
    // Weather.
    { StringId::WeatherClear, "Beau" },
    { StringId::WeatherCloudy, "Nuageux" },
    { StringId::WeatherFog, "Brouillard" },
    { StringId::WeatherRain, "Pluie" },
    { StringId::WeatherStorm, "Tempête" },
    { StringId::WeatherSnow, "Neige" },
    // Dive type bits 2 to 8.
    { StringId::DiveTypeNoDeco, "Dans la courbe" },
    { StringId::DiveTypeDeco, "Décompression" },
    { StringId::DiveTypeSingleAscent, "Remontée unique" },
    { StringId::DiveTypeMultipleAscents, "Remontées multiples" },
    { StringId::DiveTypeFreshWater, "Eau douce" },
    { StringId::DiveTypeSeaWater, "Eau de mer" },
    { StringId::DiveTypeNitrox, "Nitrox" },
    // Activities, bits 0 to 12.
    { StringId::ActivityLeisure, "Plongée-loisir" },
    { StringId::ActivityClub, "Plongée club" },
    { StringId::ActivityQualification, "Qualification" },
    { StringId::ActivityInstruction, "Instruction" },
    { StringId::ActivityNight, "Pl. de nuit" },
    { StringId::ActivityCave, "Pl. caverne" },
    { StringId::ActivityIce, "Pl. sous glace" },
    { StringId::ActivitySearch, "Pl. recherche" },
    { StringId::ActivityWreck, "Pl. sur épaves" },
    { StringId::ActivityRiver, "Pl. rivière" },
    { StringId::ActivityCurrent, "Pl. courant" },
    { StringId::ActivityPhoto, "Pl. photo" },
    { StringId::ActivityOther, "Autres" },
    // Warnings.
    { StringId::WarningAscent, "REMONTEE" },
    { StringId::WarningDecompression, "DECOMPRESSION" },
    { StringId::WarningWorkload, "TRAVAIL" },
    { StringId::WarningSos, "SOS" },
    // Second activity set: long names, the four further extra-flag names, then short names.
    { StringId::SecondWork, "Pl. travail" },
    { StringId::SecondSolo, "Pl. solo" },
    { StringId::SecondChamber, "Chambre compression" },
    { StringId::SecondSeminar, "Pl. séminaire" },
    { StringId::SecondExamDive, "Pl. examen" },
    { StringId::SecondExam, "Examen" },
    { StringId::SecondExamEscort, "Accomp. examen" },
    { StringId::SecondCheckDive, "Pl. check" },
    { StringId::SecondBoat, "Pl. bateau" },
    { StringId::SecondShore, "Pl. rivage" },
    { StringId::SecondDiveLeader, "Chef de palanquée" },
    { StringId::SecondEscort, "Accompagnateur" },
    { StringId::SecondWorkShort, "Travail" },
    { StringId::SecondSoloShort, "Solo" },
    { StringId::SecondChamberShort, "Ch.déco" },
    { StringId::SecondSeminarShort, "Séminaire" },
    { StringId::SecondExamDiveShort, "PrüfTG" },
    { StringId::SecondExamShort, "PrüfAbn" },
    { StringId::SecondExamEscortShort, "PrüfBegl" },
    { StringId::SecondCheckDiveShort, "Check" },
    // Dive page: computer name, chamber run, default logbook name, delete questions, profile kind.
    { StringId::ManualDataComputer, "Donnée manuelles" },
    { StringId::ChamberRun, "Chambre -déco" },
    { StringId::UntitledLogbook, "sansnom.log" },
    { StringId::AskDeleteDive, "Plongée #%d vraiment effacer?" },
    { StringId::DiveWillBeDeleted, "Plongée #%d va être éffacer" },
    { StringId::ProfileKindRecorded, "Profil" },
    { StringId::ProfileKindManual, "Profil manuel" },
    { StringId::ProfileKindNone, "Pas de profil" },
    // Depth column title.
    { StringId::ColumnDepth, "Prof." },
    // Renumbering and time-zone correction.
    { StringId::AskRenumber, "Numéroter plongées avec N§ de départ #%d?" },
    { StringId::WrongData, "Donnée eronnée" },
    { StringId::AskTimeZoneCorrection, "Plongée #%d à #%d\navec %s%s HH:MM corriger?" },
    // Dive search.
    { StringId::SearchNotFound, "Cela est introuvable" },
    { StringId::SearchDataNotFound, "Donnée ´%s´ introuvable" },
    { StringId::SearchTextNotFound, "Texte de recherche ´%s´ introuvable" },
    { StringId::SearchActivityNotFound, "Activité introuvable" },
    // CSV export.
    { StringId::CsvNoFields, "Aucun champs n'est défini" },
    // Hand-drawn profile axis.
    { StringId::AxisMinutes, "Minute(s)" },
    // Dive count forecast.
    { StringId::ForecastPerMonth, "Plongée par mois" },
    { StringId::ForecastPerDay, "Plongée par jour" },
    { StringId::ForecastFrom, "Calcul: de %2d.%4d (%-4s mois actuel)" },
    { StringId::ForecastWith, "avec" },
    { StringId::ForecastWithout, "sans" },
    { StringId::ForecastReached, "   %5d plongées atteintes le %2d.%02d.%04d" },
    // Dive type column title.
    { StringId::ColumnType, "Type" },
    // Printed statistics titles.
    { StringId::StatisticsActivities, "Statistique activités de plongée" },
    { StringId::StatisticsYearlyConsumption, "Cons.Moy Statistiques annuels" },
    { StringId::StatisticsMonthlyConsumption, "Cons.Moy Statistiques mensuels" },
    // Suit model column title and trip dive range title.
    { StringId::ColumnSuitModel, "Combi.-modèle" },
    { StringId::ColumnDive, "Plongée" },
    // More printed statistics titles.
    { StringId::StatisticsSuitModel, "Statistique Combinaison modèle" },
    { StringId::StatisticsYearly, "Jahresstatistik" },
    { StringId::StatisticsMonthly, "Statitiques mensuels" },
    { StringId::StatisticsWaterTemperature, "Temp. eaustatistik" },
    { StringId::StatisticsDepth, "Statistique profondeur de plongée" },
    { StringId::StatisticsDiveType, "Type de plongée / statistique" },
    { StringId::StatisticsConditions, "Statistique conditions extérieurs" },
    { StringId::StatisticsDuration, "Statistique durée de plongée" },
    // Dive list column titles.
    { StringId::ListColumnActivity, "Activité" },
    { StringId::ListColumnPartner, "Partenaire" },
    // Dive planner result.
    { StringId::PlannerResult,
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
    { StringId::SplitLogbookFull, "(le carnet contient déjà 32767 plongées, le maximum)" },
    { StringId::MergeRefused, "Plongée #%d et #%d ne peuvent pas\nêtre fusionné" },
    { StringId::MergeDone, "Plongée #%d et #%d\n sont fusionnées" },
    { StringId::SplitRefused, "Plongée #%d ne peut pas\nêtre coupé" },
    { StringId::SplitDone, "Plongée #%d\nest coupée" },
    // Transfer dialog.
    { StringId::TransferConnected, "est connecté" },
    { StringId::TransferNotConnected, "connecté" },
    { StringId::TransferComError, "Erreur-Com" },
    { StringId::TransferWaiting, "Attend le transfert" },
    { StringId::TransferRunning, "Transfert en marche" },
    { StringId::TransferInterface, "Interface" },
    { StringId::TransferWatch, "Montre" },
    { StringId::TransferPortNotReady, "   Com %d pas prêt   " },
    { StringId::TransferError, "      Erreur de transmission      " },
    // Trips register.
    { StringId::ColumnDestination, "Cible" },
    { StringId::AskSaveTrips, "Sauvegarder fichier vacances?" },
    // Weekdays Monday to Sunday, then months; May comes last.
    { StringId::WeekdayMonday, "Lu" },
    { StringId::WeekdayTuesday, "Ma" },
    { StringId::WeekdayWednesday, "Me" },
    { StringId::WeekdayThursday, "Je" },
    { StringId::WeekdayFriday, "Ve" },
    { StringId::WeekdaySaturday, "Sa" },
    { StringId::WeekdaySunday, "Di" },
    { StringId::MonthJanuary, "Jan" },
    { StringId::MonthFebruary, "Fev" },
    { StringId::MonthMarch, "Mars" },
    { StringId::MonthApril, "Avr" },
    { StringId::MonthJune, "Juin" },
    { StringId::MonthJuly, "Juil" },
    { StringId::MonthAugust, "Aout" },
    { StringId::MonthSeptember, "Sep" },
    { StringId::MonthOctober, "Oct" },
    { StringId::MonthNovember, "Nov" },
    { StringId::MonthDecember, "Dec" },
    { StringId::MonthMay, "Mai" },
    // Name of the display language.
    { StringId::LanguageName, "Français" },
    // Computer type list.
    { StringId::ComputerAirIntegrated, "Gestion d'air" },
    { StringId::ComputerGas, "Gaz" },
    { StringId::ComputerImport, "Import" },
    { StringId::ComputerBrand, "Marque" },
    { StringId::Yes, "OUI" },
    { StringId::No, "NON" },
    { StringId::GasAir, "AIR" },
    { StringId::GasNitrox, "NITROX" },
    { StringId::GasOxygen, "O2" },
    // Transfer dialog: other computer, computer settings, group titles, end questions.
    { StringId::AskOtherComputer, "Autresr Ordinateur\nPrendre quand même plongée?" },
    { StringId::UnitsImperial, "Imperial" },
    { StringId::UnitsMetric, "Métrique" },
    { StringId::On, "On" },
    { StringId::Off, "Off" },
    { StringId::LastTransfer, "Dernier transfert ordinateur" },
    { StringId::CurrentTransfer, "Transfert ordinateur actuel" },
    { StringId::NoNewDive, "Pas de nouvelle plongée" },
    { StringId::AskDiscardDives, "Détruire plongées lus?" },
    // Default menu text of the external application.
    { StringId::ExternalProgramMenu, "&Programme externe      Strg+F5" },
    // Advanced search caption.
    { StringId::AdvancedSearchCaption, "Recherche avancé" },
    // Equipment service reminder.
    { StringId::ServiceReminder, "ATTENTION\nUne pièce de ton équipement\na dépassé le délai pour la révision!" },
    // Further column titles of the CSV export.
    { StringId::ColumnTankMaterial, "Mat. bouteille" },
    { StringId::ColumnWeights, "Plombs" },
    { StringId::ColumnVisibility, "Visibilité" },
    { StringId::ColumnTankPressure, "Pression-bouteille" },
    { StringId::ColumnComment, "Commentaire" },
});

} // namespace zorv::common::detail
