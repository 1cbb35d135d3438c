#include "ui/common/windowplacement.h"

#include "ui/common/appcontext.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zorv::ui {

settings::ScreenSize screenSize(const QWidget *widget)
{
    const QScreen *screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return { screen->geometry().width(), screen->geometry().height() };
}

void saveWindowPlacement(AppContext &context, const QWidget *window, settings::Window which)
{
    const bool maximized = window->isMaximized();
    const QRect normal = maximized || window->isMinimized() ? window->normalGeometry() : window->geometry();
    if (!normal.isValid())
        return;
    settings::WindowPlacement placement;
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    placement.maximized = maximized;
    context.settings.savePlacement(context.mainIni, screenSize(window), which, placement);
}

std::optional<StoredPlacement> storedPlacement(const AppContext &context, settings::Window which, QSize minimum)
{
    const std::optional<settings::WindowPlacement> stored = context.settings.placement(which);
    if (!stored)
        return std::nullopt;
    const settings::WindowPlacement &placement = *stored;
    const QRect rect(placement.left, placement.top, placement.right - placement.left, placement.bottom - placement.top);
    if (rect.width() < minimum.width() || rect.height() < minimum.height() || !QGuiApplication::screenAt(rect.center()))
        return std::nullopt;
    return StoredPlacement { rect, placement.maximized };
}

} // namespace zorv::ui
