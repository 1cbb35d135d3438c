// Where the program's file dialogs start, and their columns wide enough for their French headers.
#pragma once

class QFileDialog;

namespace zorv::ui {

struct AppContext;

// The kinds of files whose dialogs remember their own folder for the run.
enum class FileFolder {
    CsvExport,
    UddfExport,
    Import,
    Selection, // the last kind: the folders are kept in an array as long as the list
};

// Starts the dialog in the folder last used for this kind of file in this run, else in the open logbook's
// folder; only a new, unsaved logbook leaves the working folder. Also makes its detail columns fit their headers.
void startFileDialog(QFileDialog &dialog, const AppContext &context, FileFolder kind);

// Remembers the folder of the file the user chose, for the next dialog of the same kind.
void rememberFileFolder(const QFileDialog &dialog, FileFolder kind);

} // namespace zorv::ui
