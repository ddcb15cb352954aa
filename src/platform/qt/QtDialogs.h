#pragma once

#include "platform/Dialogs.h"

namespace ordwell {

// Message and input boxes as modal Qt windows, each brought to the front so
// that it is seen even while another program is active. Texts are shown as
// plain text, never as markup. Needs a QApplication.
class QtDialogs final : public Dialogs {
public:
    int MessageBox(const std::string& text, const std::string& caption, MessageStyle style) override;
    int InputBox(const std::string& prompt, const std::string& caption, std::string& text) override;
    bool Beep() override;
};

} // namespace ordwell
