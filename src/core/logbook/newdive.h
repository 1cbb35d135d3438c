// Preparing a record as a new dive, for the logbook's own flows and for the imports.
#pragma once

#include "logbook/diverecord.h"
#include "logbook/newdivedefaults.h"

namespace zorv::logbook {

// Applies the user's defaults; nothing when they are switched off.
void applyNewDiveDefaults(DiveRecord &record, const NewDiveDefaults &defaults);

} // namespace zorv::logbook
