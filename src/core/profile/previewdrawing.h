// The dive page's profile preview: its size rules and the picture drawn into it.
#pragma once

#include "canvas/canvas.h"
#include "logbook/diverecord.h"
#include "logbook/unitsystem.h"
#include "profile/profileplot.h"
#include "settings/settings.h"

namespace zorv::profile {

// The preview has labelled axes once it has room for them.
enum class PreviewSize {
    Small,
    Large,
};
PreviewSize previewSizeFor(canvas::Size size);

// The preview button's size for its top left corner `origin` in a view of
// `view`: it reaches 24 pixels short of the right edge and 16 short of the
// bottom, but never below 159 × 99; a plain 60 × 20 button when the preview is off.
enum class PreviewOption {
    Off,
    On,
};
canvas::Size previewButtonSize(PreviewOption option, canvas::Point origin, canvas::Size view);

struct PreviewStyle {
    settings::ProfileColours colours = settings::kDefaultProfileColours;
    logbook::UnitSystem units = logbook::UnitSystem::Metric;
    Grid grid = Grid::On;
};

// The grey that stands for "no profile", as in the profile window.
inline constexpr canvas::Rgb kNoProfileGrey = canvas::rgb(192, 192, 192);

// Sets the ranges of a profile chart for the dive: time 0 … sampleCount, depth
// 0 … the maximum depth plus one label step, cut to whole units.
void setDiveRanges(ProfilePlot &plot, const logbook::DiveRecord &dive, logbook::UnitSystem units);

// Paints the whole preview of `size` pixels. A null dive or one without a
// profile gives the plain grey face.
void drawPreview(canvas::Canvas &canvas, canvas::Size size, const logbook::DiveRecord *dive, const PreviewStyle &style);

} // namespace zorv::profile
