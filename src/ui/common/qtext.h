// Text crossing between the core (UTF-8 std::string) and Qt (QString).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zorv::ui {

inline QString toQt(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string fromQt(const QString &text)
{
    return text.toUtf8().toStdString();
}

// The string table's text as a QString.
QString qstr(int id);

} // namespace zorv::ui
