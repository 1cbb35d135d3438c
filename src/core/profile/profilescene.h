// The profile window's pictures for one dive and one cursor sample: the chart, the warning strip, the gauges, the level
// bars and the computer's display.
#pragma once

#include "canvas/canvas.h"
#include "logbook/diverecord.h"
#include "logbook/unitsystem.h"
#include "profile/breathing.h"
#include "profile/profileclipboard.h"
#include "profile/profileplot.h"
#include "settings/settings.h"

#include <string>

namespace zorv::profile {

// What the dive computer's display shows at the cursor, UTF-8; all empty
// without a profile except the computer's name.
struct CursorReadout {
    std::string depth; // "12.3" m, "40" ft
    std::string elapsed; // "14:"
    std::string maxDepth; // deepest so far, "%.1f"
    std::string pressure; // "143 bar", "2074 psi"; empty without a tank volume
    std::string computerName;
    bool operator==(const CursorReadout &) const = default;
};
CursorReadout cursorReadout(const logbook::DiveRecord &dive, int cursor, logbook::UnitSystem units,
    const ComputerTraits &traits, const std::string &computerName);

enum class AverageLine {
    Off,
    On,
};

struct GraphStyle {
    settings::ProfileColours colours = settings::kDefaultProfileColours;
    logbook::UnitSystem units = logbook::UnitSystem::Metric;
    Grid grid = Grid::On;
    AverageLine averageLine = AverageLine::Off;
    // The second profile, or null when none is shown.
    const ProfileClipboard *secondProfile = nullptr;
};

// The chart control: axes, deco line, curve, second profile and average line.
// A null dive or one without a profile gives a plain grey face.
void drawProfileGraph(
    canvas::Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive, const GraphStyle &style);

enum class Crosshair {
    Off,
    On,
};
// The cursor lines through a point of the graph (the mouse): a vertical line
// from the plot's bottom to its top and, with the crosshair, a horizontal one
// across the plot, both held inside the plot. Each is a black line between
// two white ones, so that it stands out on any background colour; callers
// repaint the bands under them to remove them.
void drawCursorLines(canvas::Canvas &canvas, canvas::Size graphSize, canvas::Point at, Crosshair crosshair);
// The same through the point of the curve at a sample, for pictures without a mouse.
void drawCursorLines(canvas::Canvas &canvas, canvas::Size graphSize, const logbook::DiveRecord &dive,
    logbook::UnitSystem units, int cursor, Crosshair crosshair);
// The rectangle drawCursorLines may touch for the vertical and the horizontal line.
canvas::Rect cursorLineBand(canvas::Size graphSize, canvas::Point at, Crosshair line);

// The strip under the chart, in the chart's time scale.
void drawWarningStrip(canvas::Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive,
    const settings::ProfileColours &colours, logbook::UnitSystem units, SignalLane signalLane);

inline constexpr canvas::Size kComputerDisplaySize { 172, 90 };
inline constexpr canvas::Rgb kDisplayOlive = canvas::rgb(128, 128, 64);
// The olive panel that imitates the computer's screen.
void drawComputerDisplay(canvas::Canvas &canvas, const CursorReadout &readout, logbook::UnitSystem units);

// Everything the profile window shows for a dive, in one picture.
struct SceneOptions {
    GraphStyle graph;
    Crosshair crosshair = Crosshair::On;
    bool clockBackground = true; // "uhrenhintergrund"
    ComputerTraits traits;
    std::string computerName;
    int cursor = 0; // 0 leaves the cursor lines out, as in the window before the mouse moved
};
// The smallest picture the scene lays out without overlapping.
inline constexpr canvas::Size kMinimumSceneSize { 640, 420 };
struct SceneLayout {
    canvas::Rect graph;
    canvas::Rect strip;
    canvas::Rect instruments;
    canvas::Rect levelBars;
    canvas::Rect display;
};
SceneLayout sceneLayout(canvas::Size size);
void drawProfileScene(
    canvas::Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive, const SceneOptions &options);

} // namespace zorv::profile
