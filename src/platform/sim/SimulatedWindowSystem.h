#pragma once

#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace ordwell {

// A desktop of windows in memory, in stacking order, with a transcript of
// what was done to them, one line each: "activate Notepad",
// "close Notepad" (a close that waits), "post close Notepad",
// "minimize Notepad", "maximize Notepad", "restore Notepad", "hide Notepad",
// "click Notepad 10,20", "double-click Notepad 10,20".
class SimulatedWindowSystem final : public WindowSystem {
public:
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
        bool closes = true; // whether a close request closes it
    };

    // Opens a window on top of the others and gives it the focus.
    WindowId Open(Window window);

    std::vector<WindowInfo> TopLevelWindows() override;
    // Exact titles match without regard to ASCII letter case, as the window
    // system of the original platform compares them.
    WindowId FindByExactTitle(std::string_view title) override;
    WindowId ActiveWindow() override { return m_active; }
    std::string Title(WindowId window) override;
    bool Exists(WindowId window) override { return Find(window) != nullptr; }
    bool IsMinimized(WindowId window) override;
    bool Activate(WindowId window) override;
    bool Close(WindowId window, CloseMode mode) override;
    bool Show(WindowId window, ShowState state) override;
    bool ClickAt(int x, int y, bool doubleClick) override;

    // The titles in stacking order, topmost first.
    std::vector<std::string> Titles() const;
    ShowState StateOf(WindowId window) const;
    const std::string& Transcript() const { return m_transcript; }

private:
    struct Entry {
        WindowId id;
        Window window;
    };
    Entry* Find(WindowId window);
    const Entry* Find(WindowId window) const;
    void Record(std::string_view action, const Entry& entry, std::string_view detail = {});

    std::vector<Entry> m_windows; // topmost first
    WindowId m_active = kNoWindow;
    WindowId m_nextId = 1;
    std::string m_transcript;
};

} // namespace ordwell
