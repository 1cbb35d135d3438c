#include "ui/common/qtext.h"

#include "common/strings.h"

namespace zorv::ui {

QString qstr(common::StringId id)
{
    return toQt(common::str(id));
}

} // namespace zorv::ui
