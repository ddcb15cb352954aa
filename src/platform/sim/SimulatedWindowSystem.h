#pragma once

#include <string>
#include <vector>

#include "SimulatedEventPump.h"
#include "platform/WindowSystem.h"

namespace ordwell {

// A desktop of windows in memory, in stacking order, with a transcript of
// what was done to them, one line each: "activate Notepad",
// "close Notepad" (a close that waits), "post close Notepad",
// "minimize Notepad", "maximize Notepad", "restore Notepad", "hide Notepad",
// "click Notepad 10,20", "double-click Notepad 10,20".
//
// The active window is the one opened or activated last; when it is
// minimized, hidden or closed, the topmost window on screen takes its place.
class SimulatedWindowSystem final : public WindowSystem {
public:
    // What a window's program does with a close request.
    enum class OnClose {
        Closes,  // closes the window at once
        Asks,    // answers with an owned window of its own (closeQuestion)
        Ignores, // answers and keeps the window
        Hangs,   // never answers: a wait for it lasts its whole bound
    };

    struct Window {
        std::string title;
        bool owned = false;
        std::int64_t processId = 0;
        ShowState state = ShowState::Normal;
        // The window's place on the screen, for clicks.
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        OnClose onClose = OnClose::Closes;
        std::string closeQuestion = "Save changes?";
        // False: the window manager never makes it the active window.
        bool activates = true;
    };

    // Waits (a hung program, a refused activation) pass in the pump's
    // simulated time.
    explicit SimulatedWindowSystem(SimulatedEventPump& pump) : m_pump(pump) {}

    // Opens a window on top of the others; one on screen gets the focus.
    WindowId Open(Window window);

    std::vector<WindowInfo> TopLevelWindows(WindowScope scope) override;
    WindowId ActiveWindow() override { return m_active; }
    std::string Title(WindowId window) override;
    bool Exists(WindowId window) override { return Find(window) != nullptr; }
    bool IsMinimized(WindowId window) override;
    bool Activate(WindowId window, const WaitBound& bound) override;
    CloseOutcome Close(WindowId window, CloseMode mode, const WaitBound& bound) override;
    bool Show(WindowId window, ShowState state, const WaitBound& bound) override;
    // The simulated pointer's click: recorded for the topmost window on
    // screen under the point; false when there is none.
    bool ClickAt(int x, int y, bool doubleClick);

    // The titles in stacking order, topmost first.
    std::vector<std::string> Titles() const;
    ShowState StateOf(WindowId window) const;
    const std::string& Transcript() const { return m_transcript; }
    void ClearTranscript() { m_transcript.clear(); }

private:
    struct Entry {
        WindowId id;
        Window window;
    };
    Entry* Find(WindowId window);
    const Entry* Find(WindowId window) const;
    void Record(std::string_view action, const Entry& entry, std::string_view detail = {});
    // The active window left the screen: the topmost one on screen follows.
    void PassFocusOn();

    SimulatedEventPump& m_pump;
    std::vector<Entry> m_windows; // topmost first
    WindowId m_active = kNoWindow;
    WindowId m_nextId = 1;
    std::string m_transcript;
};

} // namespace ordwell
