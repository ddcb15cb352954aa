#include "SimulatedDialogs.h"

namespace ordwell {

void SimulatedDialogs::Record(std::string_view kind, std::string_view caption, std::string_view text) {
    m_transcript.append(kind).append(" [").append(caption).append("] ").append(text).append("\n");
}

int SimulatedDialogs::ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) {
    switch (style) {
    case MessageStyle::Ok:
        Record("message", caption, text);
        break;
    case MessageStyle::OkInformation:
        Record("information", caption, text);
        break;
    case MessageStyle::OkCancelQuestion:
        Record("question", caption, text);
        break;
    }
    if (m_answers.empty()) {
        return kAnswerOk;
    }
    const int answer = m_answers.front().first;
    m_answers.pop_front();
    return answer;
}

int SimulatedDialogs::AskForText(std::string_view prompt, std::string_view caption, std::string& entry) {
    Record("input", caption, prompt);
    if (m_answers.empty()) {
        return kAnswerCancel;
    }
    auto [answer, text] = std::move(m_answers.front());
    m_answers.pop_front();
    if (answer == kAnswerOk) {
        entry = std::move(text);
    }
    return answer;
}

bool SimulatedDialogs::Beep() {
    m_transcript += "beep\n";
    return true;
}

} // namespace ordwell
