#pragma once

#include <optional>

#include "platform/Dialogs.h"

class QDialog;

namespace ordwell {

class WindowSystem;

// Message and input boxes as modal Qt windows, each brought to the front over
// the active window with the keyboard focus, so that it is seen even while
// another program is active and can be answered with Enter or Escape. Qt
// raises and activates it; the window system is asked too once the box is
// on the screen, as a window manager may refuse a program's own request to
// take the focus (and a Wayland compositor does not take it from a program
// at all). Texts are shown as plain text, never as markup. Needs a
// QApplication.
//
// A stop request (SignalStop's wake descriptor readable) ends an open box as
// Cancel, and once it came no box opens: the answer is Cancel at once.
class QtDialogs final : public Dialogs {
public:
    // `stopFd` may be -1: nothing then ends a box but its answer.
    QtDialogs(WindowSystem& windows, int stopFd = -1);
    ~QtDialogs() override;
    QtDialogs(const QtDialogs&) = delete;
    QtDialogs& operator=(const QtDialogs&) = delete;

    int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
    int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
    bool Beep() override;

private:
    bool StopRaised() const;
    // Runs the box until it is answered or a stop request ends it; nothing
    // when it was stopped.
    std::optional<int> Run(QDialog& box);

    WindowSystem& m_windows;
    // A descriptor of our own for the wake pipe, so that its watch is never
    // a second one on the same descriptor.
    int m_stopFd = -1;
};

} // namespace ordwell
