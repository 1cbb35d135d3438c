// Where a window that belongs to another one opens: beside its owner, never over it, and on the screen.
#pragma once

#include "canvas/canvas.h"

namespace zorv::app {

// The frame rectangle for a window of `size` that belongs to `owner`: to its right, else to its left, top
// edges level, moved up when it would hang below the screen. When neither side has room it goes on the side
// with more room and covers as little of the owner as the screen allows. A window larger than the screen
// is cut down to it.
canvas::Rect placeBeside(const canvas::Rect &screen, const canvas::Rect &owner, canvas::Size size);

// Whether a remembered rectangle may be used again: wholly on the screen and clear of the owner.
bool clearOfOwner(const canvas::Rect &screen, const canvas::Rect &owner, const canvas::Rect &stored);

} // namespace zorv::app
