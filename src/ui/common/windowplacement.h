// Remembering where each window was, per screen size, through the settings.
#pragma once

#include "settings/settings.h"

#include <QRect>
#include <optional>

class QWidget;

namespace zorv::ui {

struct AppContext;

settings::ScreenSize screenSize(const QWidget *widget);

// Writes the window's normal (restored) rectangle and its maximized state into its
// group of the current screen size.
void saveWindowPlacement(AppContext &context, const QWidget *window, settings::Window which);

struct StoredPlacement {
    QRect rect;
    bool maximized = false;
};

// The stored placement when it may be applied: positions are remembered, the group
// is stored, the rectangle is at least `minimum` and its centre lies on a screen. A
// rectangle from another desktop layout may lie off every screen now, and the
// window would be lost there.
std::optional<StoredPlacement> storedPlacement(
    const AppContext &context, settings::Window which, QSize minimum = QSize(1, 1));

} // namespace zorv::ui
