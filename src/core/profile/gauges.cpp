#include "profile/gauges.h"

#include "logbook/units.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorv::profile {

using canvas::Canvas;
using canvas::Pen;
using canvas::PenStyle;
using canvas::Point;
using canvas::Rect;
using canvas::Rgb;
using logbook::UnitSystem;

namespace {

    constexpr Rgb kBlack = canvas::rgb(0, 0, 0);
    constexpr Rgb kRed = canvas::rgb(255, 0, 0);
    constexpr Rgb kGreen = canvas::rgb(0, 160, 0);
    // Pure yellow vanishes on the cream face; this one still reads as yellow.
    constexpr Rgb kYellow = canvas::rgb(235, 200, 0);

    constexpr double kDegrees = std::numbers::pi / 180.0;

    // A point on the face at a clock position given in degrees clockwise from 12 o'clock.
    Point onFace(Point centre, double clockwise, double radius)
    {
        return { centre.x + static_cast<int>(std::lround(std::sin(clockwise * kDegrees) * radius)),
            centre.y - static_cast<int>(std::lround(std::cos(clockwise * kDegrees) * radius)) };
    }

    double hours(double clockHour)
    {
        return clockHour * 30.0;
    }

    void tick(Canvas &canvas, Point centre, double clockwise, int length)
    {
        const double outer = kGaugeDiameter / 2.0 - 1.0;
        canvas.drawLine(onFace(centre, clockwise, outer), onFace(centre, clockwise, outer - length));
    }

    // Counter-clockwise from one clock position to another, on the gauge's square inset by `inset`.
    void arc(Canvas &canvas, Point corner, int inset, Rgb colour, int width, double fromHour, double toHour)
    {
        const Rect bounds { corner.x + inset, corner.y + inset, corner.x + kGaugeDiameter - inset,
            corner.y + kGaugeDiameter - inset };
        const Point centre { corner.x + kGaugeDiameter / 2, corner.y + kGaugeDiameter / 2 };
        canvas.setPen(Pen { colour, width, PenStyle::Solid });
        canvas.drawArc(
            bounds, onFace(centre, hours(fromHour), kGaugeDiameter), onFace(centre, hours(toHour), kGaugeDiameter));
    }

    struct Label {
        const char *text;
        // Offsets from the gauge's corner on the 80-pixel face; dx < 0 counts from the centre.
        int dx;
        int dy;
        bool fromCentre = false;
    };

    canvas::Font faceFont()
    {
        return canvas::Font { "MS Sans Serif", 0.0, 6, 6, 500, false, false };
    }

    void labels(Canvas &canvas, Point corner, std::initializer_list<Label> list)
    {
        canvas.setFont(faceFont());
        canvas.setTextColour(kBlack);
        const int cx = corner.x + kGaugeDiameter / 2 - 1;
        for (const Label &label : list) {
            const Point at { (label.fromCentre ? cx : corner.x) + label.dx, corner.y + label.dy };
            // The lettering was opaque on the face colour, which shows where the disk is off.
            const canvas::Size size = canvas.textSize(label.text);
            canvas.fillRect(Rect { at.x, at.y, at.x + size.width, at.y + size.height }, kGaugeFace);
            canvas.drawText(at, label.text);
        }
    }

    void breathingFace(Canvas &canvas, Point corner, Point centre, UnitSystem units)
    {
        canvas.setPen(Pen { kBlack, 1, PenStyle::Solid });
        tick(canvas, centre, 0, 5);
        tick(canvas, centre, 180, 6);
        for (double hour : { 2.0, 4.0, 8.0, 10.0 })
            tick(canvas, centre, hours(hour), 4);
        arc(canvas, corner, 0, kGreen, 2, 10, 6);
        arc(canvas, corner, 0, kYellow, 2, 2, 10);
        arc(canvas, corner, 0, kRed, 2, 6, 2);
        if (units == UnitSystem::Metric)
            labels(canvas, corner,
                { { "30", -6, 4, true }, { "20", 9, 18 }, { "40", 56, 18 }, { "10", 9, 48 }, { "50", 56, 48 } });
        else
            labels(canvas, corner,
                { { "1,00", -6, 4, true }, { "0,66", 9, 18 }, { "1.33", 50, 18 }, { "0,33", 9, 48 },
                    { "1,66", 50, 48 } });
    }

    void depthFace(Canvas &canvas, Point corner, Point centre, UnitSystem units)
    {
        canvas.setPen(Pen { kBlack, 1, PenStyle::Solid });
        for (double hour : { 0.0, 3.0, 6.0, 9.0 })
            tick(canvas, centre, hours(hour), hour == 0.0 ? 5 : 6);
        for (double hour : { 1.5, 4.5, 7.5, 10.5 })
            tick(canvas, centre, hours(hour), 4);
        arc(canvas, corner, 0, kGreen, 2, 12, 6);
        arc(canvas, corner, 0, kYellow, 2, 3, 12);
        arc(canvas, corner, 0, kRed, 2, 6, 3);
        const int cy = kGaugeDiameter / 2 - 1;
        if (units == UnitSystem::Metric)
            labels(canvas, corner,
                { { "40", -6, 4, true }, { "20", 6, cy - 6 }, { "60", 60, cy - 6 }, { "10", 14, 56 }, { "30", 14, 14 },
                    { "50", 52, 14 }, { "70", 52, 56 } });
        else
            labels(canvas, corner,
                { { "120", -9, 4, true }, { "60", 6, cy - 6 }, { "180", 54, cy - 6 }, { "30", 14, 56 },
                    { "90", 14, 14 }, { "150", 46, 14 }, { "210", 46, 56 } });
    }

    void pressureFace(Canvas &canvas, Point corner, Point centre, UnitSystem units)
    {
        canvas.setPen(Pen { kBlack, 1, PenStyle::Solid });
        tick(canvas, centre, 0, 5);
        tick(canvas, centre, 180, 6);
        for (double hour : { 2.0, 4.0, 8.0, 10.0 })
            tick(canvas, centre, hours(hour), 4);
        // The reserve: the last sixth of the scale.
        arc(canvas, corner, 3, kRed, 4, 8, 6);
        if (units == UnitSystem::Metric)
            labels(canvas, corner,
                { { "50", 12, 48 }, { "100", 10, 18 }, { "150", -9, 4, true }, { "200", 48, 18 }, { "250", 48, 48 } });
        else
            labels(canvas, corner,
                { { "700", 12, 48 }, { "1400", 10, 18 }, { "2100", -12, 4, true }, { "2800", 42, 18 },
                    { "3500", 42, 48 } });
    }

    void needle(Canvas &canvas, GaugeKind kind, double value, UnitSystem units, Rgb colour)
    {
        const double scale = gaugeScale(kind, units);
        if (!std::isfinite(value))
            return;
        const Point centre = gaugeCentre(kind);
        canvas.setPen(Pen { colour, 1, PenStyle::Solid });
        canvas.drawLine(
            centre, needleEnd(centre, needleAngle(std::clamp(value, 0.0, scale), scale), kGaugeDiameter * 0.5 - 2));
    }

} // namespace

double needleAngle(double value, double scale)
{
    if (!(scale > 0))
        return 180.0;
    double t = scale / 2 - value;
    if (t < 0)
        t += scale;
    const double angle = t * 360.0 / scale;
    return angle >= 360.0 ? 0.0 : angle;
}

Point needleEnd(Point centre, double angle, double radius)
{
    return { centre.x - static_cast<int>(std::lround(std::sin(angle * kDegrees) * radius)),
        centre.y - static_cast<int>(std::lround(std::cos(angle * kDegrees) * radius)) };
}

double gaugeScale(GaugeKind kind, UnitSystem units)
{
    const bool metric = units == UnitSystem::Metric;
    switch (kind) {
    case GaugeKind::Breathing:
        return metric ? 60.0 : 2.0;
    case GaugeKind::Depth:
        return metric ? 80.0 : 240.0;
    case GaugeKind::Pressure:
        return metric ? 300.0 : 4200.0;
    }
    return 1.0;
}

Point gaugeCorner(GaugeKind kind)
{
    return { 5 + 85 * static_cast<int>(kind), 5 };
}

Point gaugeCentre(GaugeKind kind)
{
    const Point corner = gaugeCorner(kind);
    return { corner.x + kGaugeDiameter / 2 - 1, corner.y + kGaugeDiameter / 2 - 1 };
}

GaugeValues gaugeValuesAt(const logbook::DiveRecord &dive, int cursor, UnitSystem units, const ComputerTraits &traits)
{
    GaugeValues values;
    if (dive.profileLength == 0)
        return values;
    const bool metric = units == UnitSystem::Metric;
    const int at = clampCursor(dive, cursor);
    const logbook::ProfileSample sample = sampleAtCursor(dive, at);

    if (dive.airConsumption != 0.0f) {
        const double rate = breathingRate(dive.airConsumption, workloadLevel(sample, traits));
        values.breathing = metric ? rate : logbook::litresPerMinuteToCubicFeet(rate);
    }

    auto display = [&](float depth) {
        const double metres = std::fabs(static_cast<double>(depth));
        return metric ? metres : logbook::metresToFeet(metres);
    };
    values.depth = display(sample.depth);
    double deepest = 0;
    for (int i = 0; i <= at; ++i)
        deepest = std::max(deepest, display(sampleAtCursor(dive, i).depth));
    values.maxDepth = deepest;

    const double bar = remainingPressure(dive, at, traits);
    if (bar >= 0)
        values.pressure = metric ? bar : static_cast<double>(logbook::barToPsi(bar));
    return values;
}

FaceDisks faceDisksFor(UnitSystem units, bool clockBackground)
{
    return units == UnitSystem::Imperial || clockBackground ? FaceDisks::On : FaceDisks::Off;
}

void drawInstrumentPanel(Canvas &canvas, const GaugeValues &values, UnitSystem units, FaceDisks disks)
{
    canvas.fillRect(Rect { 0, 0, kInstrumentPanelSize.width, kInstrumentPanelSize.height }, kPanelGrey);
    for (GaugeKind kind : { GaugeKind::Breathing, GaugeKind::Depth, GaugeKind::Pressure }) {
        const Point corner = gaugeCorner(kind);
        if (disks == FaceDisks::On) {
            canvas.setPen(Pen { kBlack, kind == GaugeKind::Pressure ? 2 : 1, PenStyle::Solid });
            canvas.setBrush(canvas::Brush { kGaugeFace, canvas::BrushStyle::Solid });
            canvas.drawEllipse(Rect { corner.x, corner.y, corner.x + kGaugeDiameter, corner.y + kGaugeDiameter });
            canvas.setBrush(canvas::Brush {});
        }
        const Point centre = gaugeCentre(kind);
        switch (kind) {
        case GaugeKind::Breathing:
            breathingFace(canvas, corner, centre, units);
            break;
        case GaugeKind::Depth:
            depthFace(canvas, corner, centre, units);
            break;
        case GaugeKind::Pressure:
            pressureFace(canvas, corner, centre, units);
            break;
        }
    }
    if (values.breathing)
        needle(canvas, GaugeKind::Breathing, *values.breathing, units, kBlack);
    if (values.maxDepth)
        needle(canvas, GaugeKind::Depth, *values.maxDepth, units, kRed);
    if (values.depth)
        needle(canvas, GaugeKind::Depth, *values.depth, units, kBlack);
    if (values.pressure)
        needle(canvas, GaugeKind::Pressure, *values.pressure, units, kBlack);
}

} // namespace zorv::profile
