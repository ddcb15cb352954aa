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
// End of input (Ctrl+D, a closed pipe, binary input with a NUL byte) and a
// stop signal answer Cancel, so a run never hangs where nobody can answer.
// A line longer than kMaxInputLine is taken in pieces of that length. On a
// terminal, control characters of the texts are shown harmlessly escaped.
class ConsoleDialogs final : public Dialogs {
public:
    // `wakeFd` is SignalStop's wake descriptor, or -1. The beep goes to the
    // output when it is a terminal, else to standard error when that is one.
    ConsoleDialogs(int inFd, int outFd, int wakeFd);

    int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
    int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
    bool Beep() override;

    static constexpr size_t kMaxInputLine = size_t{1} << 20;

private:
    void Show(std::string_view caption, std::string_view text);
    void AppendShown(std::string& out, std::string_view text) const;
    std::optional<std::string> TakeLine(size_t length, size_t skip);
    void Write(std::string_view text);
    bool WriteTo(int fd, std::string_view text) const;
    // The next input line without its line end; nothing at end of input or
    // when a stop signal arrived.
    std::optional<std::string> ReadLine();

    int m_in;
    int m_out;
    int m_wake;
    int m_terminal;
    bool m_escapeControls;
    std::string m_pending; // input read past the last line handed out
    size_t m_scanned = 0;  // how much of it holds no line end
    bool m_ended = false;  // the input has ended
};

} // namespace ordwell
