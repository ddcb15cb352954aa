#include "WindowBeside.h"

#include <algorithm>

namespace ordwell {

namespace {

constexpr int kGap = 8;
// Over the main window, this far in from its corner, so that both title bars
// show.
constexpr int kOverlap = 48;

} // namespace

QRect WhollyOn(const QRect& frame, const QRect& screen) {
    QRect on(frame.topLeft(), frame.size().boundedTo(screen.size()));
    on.moveLeft(std::clamp(on.left(), screen.left(), screen.left() + screen.width() - on.width()));
    on.moveTop(std::clamp(on.top(), screen.top(), screen.top() + screen.height() - on.height()));
    return on;
}

QRect WindowBeside(const QRect& main, const QSize& size, const QRect& screen) {
    const QSize fit = size.boundedTo(screen.size());
    const int screenRight = screen.left() + screen.width();
    QPoint at;
    if (main.left() + main.width() + kGap + fit.width() <= screenRight) {
        at = QPoint(main.left() + main.width() + kGap, main.top());
    } else if (main.left() - kGap - fit.width() >= screen.left()) {
        at = QPoint(main.left() - kGap - fit.width(), main.top());
    } else {
        at = main.topLeft() + QPoint(kOverlap, kOverlap);
    }
    return WhollyOn(QRect(at, fit), screen);
}

} // namespace ordwell
