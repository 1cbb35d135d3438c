// The table view of the whole logbook, one row per dive.
#pragma once

#include <functional>

class QWidget;

namespace zorv::ui {

struct AppContext;

// What the table tells the main window: a dive was chosen (selection or double
// click) and should become current. A double click also closes the table.
struct TableViewCallbacks {
    std::function<void(int position)> goToDive;
};

// Shows the table view modally over `parent`.
void showTableView(AppContext &context, const TableViewCallbacks &callbacks, QWidget *parent);

} // namespace zorv::ui
