#pragma once

#include "ui/model/Control.h"

#include <QWidget>

namespace vindle {

// The widget for one control of a window model, by its kind: a group box for
// a frame, a radio button for an option, a check box, a horizontal scroll bar
// for a slider, a line edit for a text box, a label, a push button, a
// progress bar, a read-only line display. User actions on the widget go to
// the model through the calls the program uses; the widget then shows what
// the model holds. An option group has no widget of its own: nullptr.
QWidget* createControlWidget(Control& control, QWidget* parent);

// Brings the widget up to date with the control's state.
void syncControlWidget(const Control& control, QWidget& widget);

// Whether the widget shows its whole caption within the size it was given:
// a frame's title, a label's text (over as many lines as it holds), the
// caption of a button, option or check box (wrapped where it is tall enough).
bool captionFits(const Control& control, const QWidget& widget);

} // namespace vindle
