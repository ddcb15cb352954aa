#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "blackbox/ChildProcess.h"

typedef struct _XDisplay Display;

namespace ordwell::test {

// A private X server (Xvfb, on a display number it picks itself) for one
// test, with or without a window manager (openbox), and a connection of the
// test's own to check what happened independently of the code under test.
// Everything ends with this object.
class PrivateDisplay final {
public:
    enum class Manager { Absent, Openbox };

    // In a temporary folder of its own, removed at the end.
    explicit PrivateDisplay(Manager manager);
    // In the caller's folder (the programs' working folder and HOME).
    PrivateDisplay(const std::filesystem::path& folder, bool windowManager);
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // Whether the server (and the window manager, once it owns the screen)
    // came up; the reason when not.
    bool Ready() const { return m_probe != nullptr; }
    const std::string& Problem() const { return m_problem; }
    const std::string& Name() const { return m_name; }
    // A private folder of the display's, the HOME of its programs.
    const std::string& Home() const { return m_home; }
    // Sends the X server a signal (SIGSTOP, SIGCONT, SIGKILL).
    void SignalServer(int number);
    // An environment for programs on this display.
    std::vector<std::string> Environment() const;

    // Checks through the test's own connection; windows are X window ids.
    using Window = unsigned long;
    Window FocusWindow();
    Window NetActiveWindow();
    long WmState(Window window); // -1 when the window has none
    bool HasNetState(Window window, const char* state);
    bool Exists(Window window);
    bool Viewable(Window window);
    // x, y, width, height; empty when the window is gone.
    std::vector<int> Geometry(Window window);
    // Width and height of the screen.
    std::vector<int> ScreenSize();
    // Where the window's top left corner lies on the screen.
    std::vector<int> RootPosition(Window window);
    // Where the pointer is on the screen.
    std::vector<int> Pointer();
    // Puts the pointer there, as the user would.
    void MovePointer(int x, int y);

    // The keyboard, seen through the test's own connection.
    std::vector<int> KeysDown();         // keycodes down now
    unsigned LockedModifiers();          // X11 modifier mask
    unsigned Modifiers();                // in effect now
    int KeycodeOf(unsigned long keysym); // 0 when no key carries it
    // Presses or releases a key through XTest, as another program would.
    void SendKey(int keycode, bool down);
    void LockModifiers(unsigned mask, bool on);
    // Every key's keysyms and key types, one line per key.
    std::string KeymapDump();
    // Sets the layout with setxkbmap; false when that failed.
    bool SetLayout(const std::string& layout);

private:
    void Start(Manager manager);
    bool WindowManagerOwnsTheScreen();
    bool WindowManagerManagesWindows();
    // Reads the probe's events until `done` holds; false when the deadline came first.
    bool AwaitEvents(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline);
    std::vector<unsigned long> Longs(Window window, const char* property);

    std::string m_home;
    bool m_ownsHome = false;
    std::string m_name;
    std::string m_problem;
    std::unique_ptr<ChildProcess> m_server;
    std::unique_ptr<ChildProcess> m_manager;
    Display* m_probe = nullptr;
};

} // namespace ordwell::test
