#pragma once

// The entry points of the modules, one per service. Each makes the service's
// object with `new` (the caller owns it) or answers null when the machine
// lacks what it needs (no sound server, no bus); a module is loaded only when
// a command first needs its service.

#include <string>

namespace ordwell {
class DdeClient;
class DisplayServices;
class EventPump;
enum class WaylandAnswer;
class Session;
class Sound;
class Toolkit;
struct ToolkitStart;
} // namespace ordwell

extern "C" {
// libordwell-sound.so: PulseAudio and libsndfile. `stopFd` is readable once a
// stop request came (-1: none).
ordwell::Sound* ordwell_open_sound(int stopFd);
// libordwell-dbus.so: DDE on the session bus, and logind on the system bus.
ordwell::DdeClient* ordwell_open_dde_client();
ordwell::Session* ordwell_open_session();
// libordwell-qt.so: Qt's boxes, clipboard, run icon and event loop. Starts
// the QApplication; a display that goes away as it connects ends the program
// with a word on why.
ordwell::Toolkit* ordwell_open_toolkit(const ordwell::ToolkitStart& start);
// libordwell-x11.so: the X11 backend on the display named by DISPLAY, watched
// by `pump`; null when no X server answers there in time (or `stopFd` became
// readable first). `endOnBrokenDisplay` (may be null) ends the program when
// the connection breaks; `hangingUp` (may be null) runs just before a stop
// request hangs up on a server that does not answer.
ordwell::DisplayServices* ordwell_open_x11(ordwell::EventPump& pump, int stopFd, void (*endOnBrokenDisplay)(),
                                           void (*hangingUp)());
// libordwell-wayland.so: the Wayland backend on the compositor named by
// WAYLAND_DISPLAY, watched by `pump`. `answer` and `lacks` get what the
// compositor turned out to be; services only when it offers the protocols.
ordwell::DisplayServices* ordwell_open_wayland(ordwell::EventPump& pump, ordwell::WaylandAnswer& answer,
                                               std::string& lacks);
}
