#pragma once

#include <chrono>

typedef struct _XDisplay Display;

namespace ordwell {

// How long the display named by DISPLAY has to answer at start: a server
// that accepts the connection and then says nothing (hung, stopped, grabbed
// by another client) is no display.
constexpr std::chrono::milliseconds kDisplayAnswerBound{5000};

// Opens the X display named by DISPLAY and makes one round trip on it, giving
// up when the server has not answered within `bound` or once `stopFd` (may be
// -1) is readable. Asked before any toolkit connects, so that a run with no
// usable display falls back to the terminal instead of aborting or hanging.
// The caller owns the display; null when there is none.
//
// Xlib cannot be told to give up on a connection: the opening runs in a
// thread of its own, which is left to end by itself (closing what it opened)
// when it was given up on.
Display* OpenDisplayWithin(std::chrono::milliseconds bound, int stopFd);

} // namespace ordwell
