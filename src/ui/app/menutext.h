// How a menu text of the string table becomes a menu entry, a tool tip or a status-bar text.
#pragma once

#include <QString>

namespace zorv::ui {

// "&Ouvrir...\tF3 / Ctrl+O" -> "Ouvrir...": what the tool tip and the status bar say.
inline QString plainText(const QString &label)
{
    QString text = label.section(QLatin1Char('\t'), 0, 0);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text.trimmed();
}

// "&Application externe\tCtrl+F5" -> "&Application externe": Qt shows the action's own keys.
inline QString menuText(const QString &text)
{
    return text.section(QLatin1Char('\t'), 0, 0).trimmed();
}

} // namespace zorv::ui
