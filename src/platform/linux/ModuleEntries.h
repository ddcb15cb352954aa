#pragma once

// The entry points of the modules, one per service. Each makes the service's
// object with `new` (the caller owns it) or answers null when the machine
// lacks what it needs (no sound server, no bus); a module is loaded only when
// a command first needs its service.

namespace ordwell {
class DdeClient;
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
}
