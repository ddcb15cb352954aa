#pragma once

#include <string>

namespace ordwell {

// Button codes a box answers with, as the macro language knows them.
enum DialogAnswer : int { kAnswerNone = 0, kAnswerOk = 1, kAnswerCancel = 2 };

enum class MessageStyle {
    Ok,               // plain OK box (error reports, variable dump)
    OkInformation,    // OK with the information icon
    OkCancelQuestion, // OK and Cancel with the question icon
};

// Message and input boxes and the warning sound.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int MessageBox(const std::string& text, const std::string& caption, MessageStyle style) = 0;
    // Shows the prompt and an empty edit field; on OK `text` receives the entry.
    virtual int InputBox(const std::string& prompt, const std::string& caption, std::string& text) = 0;
    // The warning sound; false when none could be made.
    virtual bool Beep() = 0;
};

} // namespace ordwell
