// The entry point of the x11 module.
#include <chrono>
#include <cstdlib>

#include "BrokenConnectionEnd.h"
#include "DisplayHangUp.h"
#include "DisplayProbe.h"
#include "X11Desktop.h"
#include "platform/linux/ModuleEntries.h"

extern "C" __attribute__((visibility("default"))) ordwell::DisplayServices*
ordwell_open_x11(ordwell::EventPump& pump, int stopFd, void (*endOnBrokenDisplay)(), void (*hangingUp)()) {
    Display* display = ordwell::OpenDisplayWithin(ordwell::kDisplayAnswerBound, stopFd);
    if (display == nullptr) {
        return nullptr;
    }
    auto hangUp = std::make_unique<ordwell::DisplayHangUp>(display, stopFd, ordwell::kStopGrace, [hangingUp] {
        if (hangingUp != nullptr) {
            hangingUp();
        }
    });
    if (endOnBrokenDisplay != nullptr) {
        ordwell::EndOnBrokenConnection(endOnBrokenDisplay);
    }
    const char* name = std::getenv("DISPLAY");
    const std::string displayName = name != nullptr ? name : "";
    // No toolkit watches the display for its end: the connection does.
    return new ordwell::X11Desktop(pump, display, std::move(hangUp), displayName, endOnBrokenDisplay);
}
