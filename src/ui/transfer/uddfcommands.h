// "Exporter UDDF…" and "Importer UDDF…" of the File menu: the logbook and its registers out, other logbooks' dives in.
#pragma once

class QString;
class QWidget;

namespace zorv::ui {

struct AppContext;

// Asks for the file and the registers to take along, then writes the UDDF file with a
// progress dialog that can cancel it; the file on disk is replaced only when whole.
void exportUddf(AppContext &context, QWidget *parent);

// Asks for a file, adds its dives to the logbook and shows the summary. The caller runs it
// as one command, so the whole import is one undo step. True when dives were added.
bool importUddf(AppContext &context, QWidget *parent);
bool importUddfFrom(AppContext &context, const QString &path, QWidget *parent);

} // namespace zorv::ui
