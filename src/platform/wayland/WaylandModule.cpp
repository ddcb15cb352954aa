// The entry point of the wayland module.
#include <cstdlib>

#include "WaylandDesktop.h"
#include "platform/linux/ModuleEntries.h"

extern "C" __attribute__((visibility("default"))) ordwell::DisplayServices*
ordwell_open_wayland(ordwell::EventPump& pump, ordwell::WaylandAnswer& answer, std::string& lacks) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') {
        answer = ordwell::WaylandAnswer::NotNamed;
        return nullptr;
    }
    auto desktop = std::make_unique<ordwell::WaylandDesktop>(name, answer, lacks);
    if (answer != ordwell::WaylandAnswer::Offers) {
        return nullptr;
    }
    desktop->Open(pump);
    return desktop.release();
}
