// The commands that talk to the person at the machine and pace the macro:
// MessageBox, MessageBoxOkCancel, InputBox, SetCaption, Beep, PlaySound and
// Delay.
#include "DialogCommands.h"

#include "CommandCall.h"
#include "MacroRunner.h"
#include "Waiting.h"
#include "platform/Dialogs.h"
#include "platform/Sound.h"
#include "platform/WindowSystem.h"

namespace ordwell {

namespace {

std::string_view BoxTitle(const CMacroRunner& runner) {
    return runner.Caption().empty() ? std::string_view("Ordwell") : std::string_view(runner.Caption());
}

// A box comes to the front over the active window; once it is answered, the
// window that was active before is active again, so that the macro goes on
// typing where it was.
class ActiveWindowKept {
public:
    explicit ActiveWindowKept(WindowSystem& windows) : m_windows(windows), m_active(windows.ActiveWindow()) {}
    ~ActiveWindowKept() {
        if (m_active != kNoWindow) {
            m_windows.Activate(m_active, {}); // asked; not waited for
        }
    }
    ActiveWindowKept(const ActiveWindowKept&) = delete;
    ActiveWindowKept& operator=(const ActiveWindowKept&) = delete;

private:
    WindowSystem& m_windows;
    WindowId m_active;
};

// After a stop request no box opens: the run is ending, and nobody is there
// to answer. The box counts as cancelled.
bool StoppedBeforeBox(CMacroRunner& runner) {
    if (!runner.StopRequested()) {
        return false;
    }
    runner.SetLastResponse(kAnswerCancel);
    return true;
}

bool ShowBox(CommandCall& call, MessageStyle style) {
    CMacroRunner& runner = call.Runner();
    if (StoppedBeforeBox(runner)) {
        return true;
    }
    const ActiveWindowKept active(call.GetPlatform().windows);
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
    if (StoppedBeforeBox(runner)) {
        return true;
    }
    std::string entry;
    int answer = kAnswerNone;
    {
        const ActiveWindowKept active(call.GetPlatform().windows);
        answer = call.GetPlatform().dialogs.AskForText(call.Text(1), BoxTitle(runner), entry);
    }
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

// The sound plays to its end before the next line; a stop request (Ctrl+C,
// SIGTERM) ends it.
bool PlaySoundCommand(CommandCall& call) {
    const CMacroRunner& runner = call.Runner();
    return call.GetPlatform().sound.PlayFile(call.Path(1), [&runner] { return runner.StopRequested(); });
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
    engine.Bind(CommandId::kPlaySound, PlaySoundCommand);
    engine.Bind(CommandId::kDelay, DelayCommand);
}

} // namespace ordwell
