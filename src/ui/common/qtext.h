// Text for the windows: the Qt glue's conversions and the string table's texts as QString.
#pragma once

#include "common/stringid.h"
#include "qtglue/qtext.h"

#include <QString>

namespace zorv::ui {

// The conversions are the Qt glue's; the windows call them unqualified.
using qtglue::fromQt;
using qtglue::toQt;

// Window code names texts by their id everywhere.
using common::StringId;

// The string table's text as a QString, in the chosen language.
QString qstr(common::StringId id);

// A French text of the windows, translated through the program's catalogue. Call it qualified
// (ui::tr): inside a QObject the unqualified name is QObject::tr, which does not know the catalogue.
QString tr(const char *french);

} // namespace zorv::ui
