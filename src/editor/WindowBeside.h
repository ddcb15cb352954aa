#pragma once

#include <QRect>

namespace ordwell {

// Where a window of `size` (its frame included) goes next to a main window
// whose frame is `main`, on the usable area `screen` of the main window's
// screen: beside it on the right where there is room, else on the left, else
// over it; always wholly on that screen, made smaller where it would not fit.
QRect WindowBeside(const QRect& main, const QSize& size, const QRect& screen);

// A window's frame where it was last, moved and made smaller where needed
// so that it lies wholly on the usable area `screen`.
QRect WhollyOn(const QRect& frame, const QRect& screen);

} // namespace ordwell
