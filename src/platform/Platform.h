#pragma once

namespace ordwell {

class Clipboard;
class Clock;
class DdeClient;
class Diagnostics;
class Dialogs;
class EventPump;
class FileSystem;
class InputRecording;
class KeyGrabs;
class Keyboard;
class PathMapping;
class Pointer;
class Processes;
class Registry;
class RunIcon;
class Session;
class Sound;
class StackSpace;
class StopSignal;
class SystemInfo;
class WindowSystem;

// The set of backends one process runs with. `main` and the tests wire it;
// the engine and the commands reach the outside world only through it. Every
// member is always there: a service the machine lacks (no display, no
// session bus) is an object that answers empty and false.
struct Platform {
    Clock& clock;
    EventPump& pump;
    StopSignal& stop;
    StackSpace& stack;
    Diagnostics& diagnostics;
    Registry& registry;
    FileSystem& files;
    PathMapping& paths;
    SystemInfo& system;
    Dialogs& dialogs;
    Clipboard& clipboard;
    RunIcon& runIcon;
    WindowSystem& windows;
    Keyboard& keyboard;
    KeyGrabs& keyGrabs;
    Pointer& pointer;
    Processes& processes;
    Session& session;
    DdeClient& dde;
    Sound& sound;
    InputRecording& recording;
};

} // namespace ordwell
