// Text crossing between the core and Qt: UTF-8, Windows-1252 and stored (OEM) bytes <-> QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zorv::qtglue {

inline QString toQt(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// UTF-8, the form the core speaks.
inline std::string fromQt(const QString &text)
{
    return text.toUtf8().toStdString();
}

// Windows-1252 bytes, as the settings and CSV files hold them. A character
// the code page lacks becomes '?'.
QString fromWindows1252(std::string_view bytes);
std::string toWindows1252(const QString &text);

// The DOS OEM bytes logbooks and registers store their texts in.
QString fromStored(std::string_view stored);
std::string toStored(const QString &text);

} // namespace zorv::qtglue
