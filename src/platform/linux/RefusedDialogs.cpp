#include "RefusedDialogs.h"

#include "platform/Diagnostics.h"

namespace ordwell {

int RefusedDialogs::Refuse() {
    if (!m_said) {
        m_said = true;
        m_diagnostics.Notice("message and input boxes cannot be shown: " + m_reason);
    }
    return kAnswerCancel;
}

int RefusedDialogs::ShowMessage(std::string_view, std::string_view, MessageStyle) {
    return Refuse();
}

int RefusedDialogs::AskForText(std::string_view, std::string_view, std::string&) {
    return Refuse();
}

} // namespace ordwell
