#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"

namespace ordwell {

// Message and input boxes on a terminal, for runs with no display.
//
// A box prints "[caption] text" (a text of several lines starts on the line
// after the caption). A plain message box answers OK at once. The other boxes
// read their answer from the input, one line each:
// - the OK/Cancel box accepts "ok", "o", "yes", "y" or an empty line (Enter
//   presses OK, the default button) as OK and "cancel", "c", "no", "n" as
//   Cancel, in any letter case and with blanks around; any other line asks
//   again;
// - the input box takes the whole line as the entry and answers OK.
// End of input (Ctrl+D, a closed pipe) and a stop signal answer Cancel, so a
// run never hangs where nobody can answer.
class ConsoleDialogs final : public Dialogs {
public:
    // `wakeFd` is SignalStop's wake descriptor, or -1. The beep goes to the
    // output when it is a terminal, else to standard error when that is one.
    ConsoleDialogs(int inFd, int outFd, int wakeFd);

    int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
    int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
    bool Beep() override;

private:
    void Show(std::string_view caption, std::string_view text);
    void Write(std::string_view text);
    // The next input line without its line end; nothing at end of input or
    // when a stop signal arrived.
    std::optional<std::string> ReadLine();

    int m_in;
    int m_out;
    int m_wake;
    int m_terminal;
    std::string m_pending; // input read past the last line handed out
};

} // namespace ordwell
