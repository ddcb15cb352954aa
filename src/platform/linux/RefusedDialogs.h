#pragma once

#include <string>

#include "platform/Dialogs.h"

namespace ordwell {

class Diagnostics;

// Boxes on a display that this program cannot show there (the part of ordwell
// that shows them cannot be started): the first box says why, once, as a
// notice, and every box answers Cancel at once, so that no run waits for an
// answer nobody can give.
class RefusedDialogs final : public Dialogs {
public:
    RefusedDialogs(Diagnostics& diagnostics, std::string reason)
        : m_diagnostics(diagnostics), m_reason(std::move(reason)) {}

    int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
    int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
    bool Beep() override { return false; }

private:
    int Refuse();

    Diagnostics& m_diagnostics;
    std::string m_reason;
    bool m_said = false;
};

} // namespace ordwell
