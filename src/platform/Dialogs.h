#pragma once

#include <string>
#include <string_view>

namespace ordwell {

// Button codes a box answers with, as the macro language knows them.
enum DialogAnswer : int { kAnswerNone = 0, kAnswerOk = 1, kAnswerCancel = 2 };

enum class MessageStyle {
    Ok,               // plain OK box (error reports, variable dump)
    OkInformation,    // OK with the information icon
    OkCancelQuestion, // OK and Cancel with the question icon
};

// Message and input boxes and the warning sound. Each box is modal, comes to
// the front, and answers with a DialogAnswer.
// (Method names avoid those of Win32 functions, which windows.h turns into
// macros.)
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual int ShowMessage(std::string_view text, std::string_view caption, MessageStyle style) = 0;
    // Shows the prompt and an empty edit field; on OK `entry` receives the
    // text entered.
    virtual int AskForText(std::string_view prompt, std::string_view caption, std::string& entry) = 0;
    // The warning sound; false when none could be made.
    virtual bool Beep() = 0;
};

} // namespace ordwell
