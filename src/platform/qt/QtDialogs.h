#pragma once

#include "platform/Dialogs.h"

namespace ordwell {

// Message and input boxes as modal Qt windows, each brought to the front so
// that it is seen even while another program is active. Texts are shown as
// plain text, never as markup. Needs a QApplication.
class QtDialogs final : public Dialogs {
public:
    int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
    int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
    bool Beep() override;
};

} // namespace ordwell
