#pragma once

#include <string>

#include "platform/Keyboard.h"
#include "platform/Pointer.h"
#include "platform/WindowSystem.h"

namespace ordwell {

class Diagnostics;

// A notice on how the desktop is served (a Wayland session without the
// protocols: what the compositor lacks and what serves instead), said once,
// as a notice of the diagnostics, when a command first uses the windows, the
// keys or the pointer. The Noticed* objects stand in front of the services
// and say it before passing each call on, so that no command checks for it.
class DesktopNotice final {
public:
    DesktopNotice(Diagnostics& diagnostics, std::string text) : m_diagnostics(diagnostics), m_text(std::move(text)) {}
    void Say();

private:
    Diagnostics& m_diagnostics;
    std::string m_text;
    bool m_said = false;
};

class NoticedWindowSystem final : public WindowSystem {
public:
    NoticedWindowSystem(WindowSystem& windows, DesktopNotice& notice) : m_windows(windows), m_notice(notice) {}

    std::vector<WindowInfo> TopLevelWindows(WindowScope scope) override;
    WindowId ActiveWindow() override;
    std::string Title(WindowId window) override;
    bool Exists(WindowId window) override;
    bool IsMinimized(WindowId window) override;
    bool Activate(WindowId window, const WaitBound& bound) override;
    CloseOutcome Close(WindowId window, CloseMode mode, const WaitBound& bound) override;
    bool Show(WindowId window, ShowState state, const WaitBound& bound) override;
    // The program's own window: no command of the macro asks for it.
    WindowId AwaitNewWindow(std::string_view title, const std::vector<WindowId>& known,
                            const WaitBound& bound) override {
        return m_windows.AwaitNewWindow(title, known, bound);
    }

private:
    WindowSystem& m_windows;
    DesktopNotice& m_notice;
};

// Typing says the notice; the lock keys, which the editor's status bar
// reads, do not.
class NoticedKeyboard final : public Keyboard {
public:
    NoticedKeyboard(Keyboard& keyboard, DesktopNotice& notice) : m_keyboard(keyboard), m_notice(notice) {}

    bool Type(std::span<const KeyStroke> strokes) override;
    void EndText() override { m_keyboard.EndText(); }
    std::optional<LockKeyState> LockKeys() override { return m_keyboard.LockKeys(); }
    void WatchLockKeys(std::function<void()> changed) override { m_keyboard.WatchLockKeys(std::move(changed)); }

private:
    Keyboard& m_keyboard;
    DesktopNotice& m_notice;
};

class NoticedPointer final : public Pointer {
public:
    NoticedPointer(Pointer& pointer, DesktopNotice& notice) : m_pointer(pointer), m_notice(notice) {}

    bool Click(int x, int y, bool doubleClick) override;

private:
    Pointer& m_pointer;
    DesktopNotice& m_notice;
};

} // namespace ordwell
