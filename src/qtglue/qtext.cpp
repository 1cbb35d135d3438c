#include "qtglue/qtext.h"

#include "common/textcodec.h"
#include "logbook/oemcharmap.h"

namespace zorv::qtglue {

QString fromWindows1252(std::string_view bytes)
{
    return toQt(common::cp1252ToUtf8(bytes));
}

std::string toWindows1252(const QString &text)
{
    return common::utf8ToCp1252(fromQt(text));
}

QString fromStored(std::string_view stored)
{
    return toQt(logbook::storedToDisplay(stored));
}

std::string toStored(const QString &text)
{
    return logbook::displayToStored(fromQt(text));
}

} // namespace zorv::qtglue
