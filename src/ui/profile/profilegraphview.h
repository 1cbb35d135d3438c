// The profile window's chart with its cursor, and the small dive tests its parts share.
#pragma once

#include "logbook/diverecord.h"
#include "profile/previewdrawing.h"
#include "profile/profilescene.h"
#include "profile/profilewindowlayout.h"
#include "ui/common/appcontext.h"
#include "ui/common/canvasview.h"

#include <QMouseEvent>
#include <QRegion>
#include <algorithm>
#include <functional>

namespace zorv::ui {

namespace profilewindowinternal {

    using logbook::DiveRecord;

    inline bool hasProfile(const DiveRecord *dive)
    {
        return dive != nullptr && dive->profileLength != 0;
    }

    inline int samplesOf(const DiveRecord &dive)
    {
        return std::min<int>(dive.sampleCount, logbook::kMaxSamples);
    }

    inline const DiveRecord &orBlank(const DiveRecord *dive)
    {
        static const DiveRecord blank;
        return dive ? *dive : blank;
    }

} // namespace profilewindowinternal

using namespace profilewindowinternal;

// The chart with its cursor. The cursor lines are drawn over the cached
// chart, and a mouse move repaints only the thin bands where they were and
// where they go.
class ProfileGraphView final : public CanvasView {
public:
    ProfileGraphView(AppContext &context, std::function<profile::GraphStyle()> style,
        std::function<void(int)> cursorMoved, QWidget *parent = nullptr)
        : CanvasView([this](canvas::Canvas &canvas,
                         canvas::Size size) { profile::drawProfileGraph(canvas, size, dive(), m_style()); },
            parent)
        , m_context(context)
        , m_style(std::move(style))
        , m_cursorMoved(std::move(cursorMoved))
    {
        setOverlay([this](canvas::Canvas &canvas, canvas::Size size) {
            if (m_vertical && hasProfile(dive()))
                profile::drawCursorLines(
                    canvas, size, m_mouse, horizontalShown() ? profile::Crosshair::On : profile::Crosshair::Off);
        });
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
        setMinimumSize(300, 160);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

    void setDive(int position)
    {
        m_position = position;
        m_cursor = 0;
        m_vertical = false;
        m_horizontal = false;
        invalidate();
    }
    int cursor() const { return m_cursor; }
    // The crosshair switch changes only the overlay.
    void crosshairChanged() { update(); }

protected:
    void mouseMoveEvent(QMouseEvent *event) override
    {
        const QPoint p = event->position().toPoint();
        const DiveRecord *d = dive();
        if (!hasProfile(d))
            return;
        QRegion dirty = linesRegion();
        const profile::TrackingRect rect = profile::graphTrackingRect({ width(), height() });
        if (rect.contains({ p.x(), p.y() })) {
            m_vertical = true;
            m_horizontal = true;
            m_mouse = { p.x(), p.y() };
            m_cursor = profile::cursorIndexAt(p.x(), rect, samplesOf(*d), m_cursor);
            update(dirty + linesRegion());
            m_cursorMoved(m_cursor);
        } else {
            leavePlot(dirty);
        }
    }
    void leaveEvent(QEvent *event) override
    {
        leavePlot(linesRegion());
        CanvasView::leaveEvent(event);
    }

private:
    const DiveRecord *dive() const { return m_context.logbook.dive(m_position); }
    bool horizontalShown() const { return m_horizontal && m_context.settings.crosshair; }

    // Outside the plot the vertical line stays where it was, as a mark of the
    // sample the instruments still show; the horizontal one goes.
    void leavePlot(const QRegion &dirty)
    {
        if (!m_horizontal)
            return;
        m_horizontal = false;
        update(dirty);
    }

    QRegion linesRegion() const
    {
        if (!m_vertical || !hasProfile(dive()))
            return {};
        const canvas::Size size { width(), height() };
        const auto toQRect = [](const canvas::Rect &r) { return QRect(r.left, r.top, r.width(), r.height()); };
        QRegion region(toQRect(profile::cursorLineBand(size, m_mouse, profile::Crosshair::Off)));
        if (horizontalShown())
            region += toQRect(profile::cursorLineBand(size, m_mouse, profile::Crosshair::On));
        return region;
    }

    AppContext &m_context;
    std::function<profile::GraphStyle()> m_style;
    std::function<void(int)> m_cursorMoved;
    int m_position = 0;
    int m_cursor = 0;
    canvas::Point m_mouse; // where the lines cross: the last mouse point inside the plot
    bool m_vertical = false;
    bool m_horizontal = false;
};

} // namespace zorv::ui
