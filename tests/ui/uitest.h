// Helpers for the window tests: screenshots, a scratch settings folder, and answering message boxes.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace zorv::uitest {

// Saves a PNG of the widget's window under build/screenshots/<name>.png.
void saveScreenshot(QWidget *widget, const QString &name);

// Runs `action` on the next modal dialog or message box that opens, from the event loop.
// Use it before the call that opens the dialog.
void whenModalOpens(const std::function<void(QWidget *modal)> &action, int timeoutMs = 5000);

} // namespace zorv::uitest
