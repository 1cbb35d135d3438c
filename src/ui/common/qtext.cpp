#include "ui/common/qtext.h"

#include "common/strings.h"
#include "common/translation.h"

namespace zorv::ui {

QString qstr(common::StringId id)
{
    return toQt(common::str(id));
}

QString tr(const char *french)
{
    return QString::fromUtf8(common::tr(french));
}

} // namespace zorv::ui
