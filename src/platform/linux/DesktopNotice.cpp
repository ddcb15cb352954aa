#include "DesktopNotice.h"

#include "platform/Diagnostics.h"

namespace ordwell {

void DesktopNotice::Say() {
    if (!m_said) {
        m_said = true;
        m_diagnostics.Notice(m_text);
    }
}

std::vector<WindowInfo> NoticedWindowSystem::TopLevelWindows(WindowScope scope) {
    m_notice.Say();
    return m_windows.TopLevelWindows(scope);
}

// Every box asks for the active window, to give it back afterwards: that is
// no window command yet.
WindowId NoticedWindowSystem::ActiveWindow() {
    return m_windows.ActiveWindow();
}

std::string NoticedWindowSystem::Title(WindowId window) {
    m_notice.Say();
    return m_windows.Title(window);
}

bool NoticedWindowSystem::Exists(WindowId window) {
    m_notice.Say();
    return m_windows.Exists(window);
}

bool NoticedWindowSystem::IsMinimized(WindowId window) {
    m_notice.Say();
    return m_windows.IsMinimized(window);
}

bool NoticedWindowSystem::Activate(WindowId window, const WaitBound& bound) {
    m_notice.Say();
    return m_windows.Activate(window, bound);
}

CloseOutcome NoticedWindowSystem::Close(WindowId window, CloseMode mode, const WaitBound& bound) {
    m_notice.Say();
    return m_windows.Close(window, mode, bound);
}

bool NoticedWindowSystem::Show(WindowId window, ShowState state, const WaitBound& bound) {
    m_notice.Say();
    return m_windows.Show(window, state, bound);
}

bool NoticedKeyboard::Type(std::span<const KeyStroke> strokes) {
    m_notice.Say();
    return m_keyboard.Type(strokes);
}

bool NoticedPointer::Click(int x, int y, bool doubleClick) {
    m_notice.Say();
    return m_pointer.Click(x, y, doubleClick);
}

} // namespace ordwell
