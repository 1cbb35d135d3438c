// The table view of the whole logbook, one row per dive.
#pragma once

#include <functional>

class QWidget;

namespace zorv::ui {

struct AppContext;

// What the table tells the main window: a dive was chosen (selection or double
// click) and should become current; a double click also asks to edit it.
struct TableViewCallbacks {
    std::function<void(int position)> goToDive;
    std::function<void(int position)> editDive;
};

// Shows the table view modally over `parent`.
void showTableView(AppContext &context, const TableViewCallbacks &callbacks, QWidget *parent);

} // namespace zorv::ui
