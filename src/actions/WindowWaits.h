#pragma once

#include <cstdint>

#include "engine/MacroRunner.h"
#include "platform/WindowSystem.h"

namespace ordwell {

// How long the window commands wait for others. Every wait sleeps on the
// window system's events and ends at once on a stop request; a bound only
// keeps a refusing window manager or a hung program from holding the macro.
//
// A window manager activates, minimizes or maximizes a window within a few
// milliseconds on an idle desktop; two seconds leave a wide margin for a
// loaded one, and cost a macro no more than that when a window manager
// refuses the request.
constexpr std::uint32_t kActivationBoundMs = 2000;
constexpr std::uint32_t kShowBoundMs = 2000;
// A program that has not answered a close request within five seconds is
// hung: the desktops take five seconds to call a window "not responding"
// (the original platform's hung-window test, and GNOME's ping).
constexpr std::uint32_t kCloseBoundMs = 5000;

// A bound of `ms` that the run's stop request ends early.
inline WaitBound RunWaitBound(const CMacroRunner& runner, std::uint32_t ms) {
    return {ms, [&runner] { return runner.StopRequested(); }};
}

} // namespace ordwell
