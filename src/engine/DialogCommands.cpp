// The commands that talk to the person at the machine and pace the macro:
// MessageBox, MessageBoxOkCancel, InputBox, SetCaption, Beep and Delay.
#include "DialogCommands.h"

#include "CommandCall.h"
#include "MacroRunner.h"
#include "Waiting.h"
#include "platform/Dialogs.h"

namespace ordwell {

namespace {

std::string BoxTitle(const CMacroRunner& runner) {
    return runner.Caption().empty() ? "Ordwell" : runner.Caption();
}

bool ShowMessage(CommandCall& call, MessageStyle style) {
    CMacroRunner& runner = call.Runner();
    runner.SetLastResponse(call.GetPlatform().dialogs->MessageBox(call.Text(1), BoxTitle(runner), style));
    return true;
}

bool MessageBox(CommandCall& call) {
    return ShowMessage(call, MessageStyle::OkInformation);
}

bool MessageBoxOkCancel(CommandCall& call) {
    return ShowMessage(call, MessageStyle::OkCancelQuestion);
}

bool InputBox(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    std::string entry;
    const int answer = call.GetPlatform().dialogs->InputBox(call.Text(1), BoxTitle(runner), entry);
    runner.SetLastResponse(answer);
    if (answer == kAnswerOk) {
        if (call.Count() == 2) {
            call.Store(2, entry);
        }
        runner.SetLastInputText(std::move(entry));
    }
    return true;
}

bool SetCaption(CommandCall& call) {
    call.Runner().SetCaption(call.Text(1));
    return true;
}

bool Beep(CommandCall& call) {
    return call.GetPlatform().dialogs->Beep();
}

bool Delay(CommandCall& call) {
    // A negative count is a very long wait: in effect until the run stops.
    PumpMessagesFor(call.Runner(), static_cast<std::uint32_t>(call.Number(1)));
    return true;
}

} // namespace

void BindDialogCommands(Engine& engine) {
    engine.Bind(CommandId::MessageBox, MessageBox);
    engine.Bind(CommandId::MessageBoxOkCancel, MessageBoxOkCancel);
    engine.Bind(CommandId::InputBox, InputBox);
    engine.Bind(CommandId::SetCaption, SetCaption);
    engine.Bind(CommandId::Beep, Beep);
    engine.Bind(CommandId::Delay, Delay);
}

} // namespace ordwell
