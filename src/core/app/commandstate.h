// Which commands of the main window are enabled, decided from the logbook's state alone.
#pragma once

#include <cstdint>

namespace zorv::logbook {
class Logbook;
} // namespace zorv::logbook

namespace zorv::computers {
class ComputerCatalogue;
} // namespace zorv::computers

namespace zorv::app {

// The command numbers are the ones the menus and the tool bar layout have
// always used, so that the program's commands keep one stable identity.
enum class Command : std::uint16_t {
    NewLogbook = 57600,
    OpenLogbook = 57601,
    SaveLogbook = 57603,
    SaveLogbookAs = 57604,
    ReopenLogbook = 32836,
    CreateSelection = 32787,
    ExportCsv = 32822,
    ExportUddf = 32837,
    ImportUddf = 32838,
    ImportCitizen = 32829,
    ImportGuardian = 32834,
    Print = 57607,
    PrintPreview = 57609,
    PrintSetup = 57606,
    Quit = 57665,
    CopyDive = 57634,
    PasteDive = 57637,
    MultiCopy = 32818,
    MultiPaste = 32819,
    MultiClear = 32820,
    ReadComputer = 32806,
    EditDive = 32775,
    InsertDive = 32777,
    DeleteDive = 57635,
    RenumberAll = 32779,
    RenumberPart = 32821,
    TimeZone = 32780,
    FillDives = 32826,
    ManualData = 32789,
    SplitDive = 32790,
    MergeDives = 32791,
    ToolBar = 59392,
    StatusBar = 59393,
    ProfilePreview = 32782,
    ProfileWindow = 32781,
    TableView = 32788,
    Options = 32828,
    ComputerTypes = 32830,
    Statistics = 32808,
    SiteStatistics = 32812,
    PartnerStatistics = 32813,
    MonthlyStatistics = 32827,
    SearchDive = 32801,
    SearchForward = 32796,
    SearchBackward = 32797,
    AdvancedSearch = 32805,
    SearchReplace = 32816,
    Certificates = 32784,
    Equipment = 32785,
    Addresses = 32792,
    Trips = 32804,
    InstructorRecord = 32811,
    Forecast = 32786,
    Planner = 32771,
    NoDecoComparison = 32772,
    ExternalApplication = 32835,
    About = 57664,
    KnownComputers = 32823,
    Compatibility = 32824,
    Tips = 105,
    Undo = 57643,
    Redo = 57644,
};

// What the rules read beyond the logbook itself. The file tests are answered by
// the caller so that the rules stay a pure function and tests need no files.
struct CommandEnvironment {
    bool diveInClipboard = false;
    int multiClipboardCount = 0;
    int lastSearchCriteria = -1; // -1 until a search has been made
    bool profilePreview = false;
    bool externalApplicationExists = false; // the configured path is set and names a file
    bool logbookFileExists = false; // the logbook's .log is on disk
};

struct CommandState {
    bool enabled = true;
    bool checked = false; // only the toggles carry a check mark
};

// The state of one command. The computer catalogue decides whether two dives
// of an oxygen computer may be merged; it may be null.
CommandState commandState(Command command, const logbook::Logbook &logbook,
    const computers::ComputerCatalogue *catalogue, const CommandEnvironment &environment);

// Dives read from an oxygen computer over the serial link are merged by their
// own rule: such a computer splits one dive into parts that carry no interval.
bool isLinkedOxygenComputer(const computers::ComputerCatalogue *catalogue, std::uint8_t typeId);

} // namespace zorv::app
