#pragma once

#include <deque>
#include <string>
#include <utility>

#include "platform/Dialogs.h"

namespace ordwell {

// Boxes that answer from a script, and a transcript of what a user would have
// seen and heard, one line each:
//   "message [caption] text", "information [caption] text",
//   "question [caption] text", "input [caption] prompt", "beep".
// A message box answers OK and an input box Cancel when the script is empty.
class SimulatedDialogs final : public Dialogs {
public:
    int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) override;
    int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) override;
    bool Beep() override;

    // The answer of the next box; for an input box answered with OK, the text
    // entered.
    void ScriptAnswer(int answer, std::string entry = {}) { m_answers.emplace_back(answer, std::move(entry)); }
    const std::string& Transcript() const { return m_transcript; }
    void ClearTranscript() { m_transcript.clear(); }

private:
    void Record(std::string_view kind, std::string_view caption, std::string_view text);

    std::deque<std::pair<int, std::string>> m_answers;
    std::string m_transcript;
};

} // namespace ordwell
