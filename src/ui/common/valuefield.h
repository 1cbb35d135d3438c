// The read-only value field of the dive page, shared by every window that shows dive values.
#pragma once

class QLabel;
class QWidget;

namespace zorv::ui {

// A sunken, selectable plain-text field, at least as wide as a long date in the
// font of `sizing`. Long places and partner lists are cut at the edge rather
// than widening their window.
QLabel *newValueField(const QWidget *sizing);

} // namespace zorv::ui
