// The options dialog, the main window's data-field selection and the defaults for new dives.
#pragma once

class QWidget;

namespace zorv::ui {

struct AppContext;

// Each returns true when the user confirmed a change; the caller then refreshes
// every view (units and mode change what is shown and how).
bool showOptionsDialog(AppContext &context, QWidget *parent);
bool showDataFieldsDialog(AppContext &context, QWidget *parent);
bool showNewDiveDefaultsDialog(AppContext &context, QWidget *parent);

} // namespace zorv::ui
