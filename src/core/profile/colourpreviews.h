// The sample pictures of the profile colour dialog: a made-up chart and warning strip in the colours being edited.
#pragma once

#include "canvas/canvas.h"
#include "logbook/unitsystem.h"
#include "settings/settings.h"

namespace zorv::profile {

// Every profile role shows up: background, axes and grid, labels, the deco
// line, a profile with a warning stretch and a second profile.
void drawProfileColourPreview(
    canvas::Canvas &canvas, canvas::Size size, const settings::ProfileColours &colours, logbook::UnitSystem units);

// The warning strip with one bar in a warning lane and one in the signal lane.
void drawStripColourPreview(canvas::Canvas &canvas, canvas::Size size, const settings::ProfileColours &colours);

} // namespace zorv::profile
