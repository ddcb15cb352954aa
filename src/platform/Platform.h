#pragma once

namespace ordwell {

class Clipboard;
class Clock;
class Dialogs;
class EventPump;
class FileSystem;
class Registry;
class RunIcon;
class StopSignal;
class SystemInfo;

// The set of backends one process runs with. `main` and the tests wire it;
// the engine and the commands reach the outside world only through it.
struct Platform {
    Clock* clock = nullptr;
    Registry* registry = nullptr;
    Dialogs* dialogs = nullptr;
    Clipboard* clipboard = nullptr;
    RunIcon* runIcon = nullptr;
    EventPump* pump = nullptr;
    StopSignal* stop = nullptr;
    FileSystem* files = nullptr;
    SystemInfo* system = nullptr;
};

} // namespace ordwell
