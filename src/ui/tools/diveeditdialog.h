// The dive edit dialog and the three ways of opening it.
#pragma once

#include "logbook/diverecord.h"

class QWidget;

namespace zorv::ui {

struct AppContext;

// Edits the current dive; stores it (moving it if its date changed) on OK.
// Returns true when the logbook changed. OK on an unchanged dive changes nothing.
bool editCurrentDive(AppContext &context, QWidget *parent);

// New dive from the blank record with the defaults and the remembered date.
// Returns true when a dive was inserted.
bool newDive(AppContext &context, QWidget *parent);

// New dive from a record another window prepared (manual profile, imports).
bool newDiveFrom(AppContext &context, const logbook::DiveRecord &prepared, QWidget *parent);

} // namespace zorv::ui
