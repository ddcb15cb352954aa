// The commands that talk to the person at the machine and pace the macro:
// MessageBox, MessageBoxOkCancel, InputBox, SetCaption, Beep and Delay.
#include "DialogCommands.h"

#include "CommandCall.h"
#include "MacroRunner.h"
#include "Waiting.h"
#include "platform/Dialogs.h"

namespace ordwell {

namespace {

std::string_view BoxTitle(const CMacroRunner& runner) {
    return runner.Caption().empty() ? std::string_view("Ordwell") : std::string_view(runner.Caption());
}

bool ShowBox(CommandCall& call, MessageStyle style) {
    CMacroRunner& runner = call.Runner();
    runner.SetLastResponse(call.GetPlatform().dialogs.ShowMessage(call.Text(1), BoxTitle(runner), style));
    return true;
}

bool MessageBoxCommand(CommandCall& call) {
    return ShowBox(call, MessageStyle::OkInformation);
}

bool MessageBoxOkCancelCommand(CommandCall& call) {
    return ShowBox(call, MessageStyle::OkCancelQuestion);
}

bool InputBoxCommand(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    std::string entry;
    const int answer = call.GetPlatform().dialogs.AskForText(call.Text(1), BoxTitle(runner), entry);
    runner.SetLastResponse(answer);
    if (answer == kAnswerOk) {
        if (call.Count() == 2) {
            call.Store(2, entry);
        }
        runner.SetLastInputText(std::move(entry));
    }
    return true;
}

bool SetCaptionCommand(CommandCall& call) {
    call.Runner().SetCaption(std::string(call.Text(1)));
    return true;
}

bool BeepCommand(CommandCall& call) {
    return call.GetPlatform().dialogs.Beep();
}

bool DelayCommand(CommandCall& call) {
    // A negative count is a very long wait: in effect until the run stops.
    PumpMessagesFor(call.Runner(), static_cast<std::uint32_t>(call.Number(1)));
    return true;
}

} // namespace

void BindDialogCommands(Engine& engine) {
    engine.Bind(CommandId::kMessageBox, MessageBoxCommand);
    engine.Bind(CommandId::kMessageBoxOkCancel, MessageBoxOkCancelCommand);
    engine.Bind(CommandId::kInputBox, InputBoxCommand);
    engine.Bind(CommandId::kSetCaption, SetCaptionCommand);
    engine.Bind(CommandId::kBeep, BeepCommand);
    engine.Bind(CommandId::kDelay, DelayCommand);
}

} // namespace ordwell
