#pragma once

#include "platform/Dialogs.h"

namespace ordwell {

class WindowSystem;

// Message and input boxes as modal Qt windows, each brought to the front over
// the active window with the keyboard focus, so that it is seen even while
// another program is active and can be answered with Enter or Escape. Qt
// raises and activates it; on X11 the window system is asked too once the
// box is on the screen, as a window manager may refuse a program's own
// request to take the focus. Texts are shown as plain text, never as
// markup. Needs a QApplication.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(WindowSystem& windows) : m_windows(windows) {}

    int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
    int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
    bool Beep() override;

private:
    WindowSystem& m_windows;
};

} // namespace ordwell
