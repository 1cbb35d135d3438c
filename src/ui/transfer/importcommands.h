// The two file imports of the File menu: choose a file, read one dive, and complete it in the dive edit dialog.
#pragma once

#include "imports/importer.h"

class QString;
class QWidget;

namespace zorv::ui {

struct AppContext;

// The import settings of the desktop program: the new-dive defaults and the
// "Import" keys of the settings file.
imports::ImportSettings importSettings(const AppContext &context);

// Asks for a file, reads it and shows the dive in the edit dialog; the dive is
// inserted only on OK there. True when a dive was inserted.
bool importDive(AppContext &context, imports::Format format, QWidget *parent);

// The same without the file dialog, for a file already chosen.
bool importDiveFrom(AppContext &context, imports::Format format, const QString &path, QWidget *parent);

} // namespace zorv::ui
