// The commands that type a SendKeys text into the window that has the focus,
// or first bring a window to the front. A text that cannot be typed (no
// display) makes the line FALSE; what the text itself does wrong (a syntax
// error) only ends it, silently.
#include "SendCommands.h"

#include "EnvironmentReferences.h"
#include "SendKeysText.h"
#include "actions/DateTime.h"
#include "actions/WindowLookup.h"
#include "engine/CommandCall.h"
#include "engine/MacroRunner.h"
#include "engine/MacroText.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace ordwell {

namespace {

// The longest text a send command takes from a file or the environment: far
// more than anyone types, and little enough memory.
constexpr std::size_t kMaxTextBytes = std::size_t{16} << 20;

bool Send(CommandCall& call, std::string_view text) {
    return SendKeysText(call.Runner(), text).delivered;
}

bool SendKeysCommand(CommandCall& call) {
    return Send(call, call.Text(1));
}

bool SendKeysToWindowCommand(CommandCall& call) {
    return ActivateWindowByTitle(call.Runner(), call.Text(1)) && Send(call, call.Text(2));
}

// Each line is a text of its own; line ends are not typed (a line that
// should end with Enter ends with "~"). A file that cannot be read types
// nothing.
bool SendKeysFromFileCommand(CommandCall& call) {
    std::string content;
    if (call.GetPlatform().files.ReadRegularFile(call.Path(1), kMaxTextBytes, content) != FileRead::Ok) {
        return true;
    }
    const MacroText lines = MacroText::FromFileText(std::move(content));
    bool delivered = true;
    for (size_t i = 0; i < lines.Count() && delivered && !call.Runner().StopRequested(); ++i) {
        delivered = Send(call, lines.Line(i));
    }
    return delivered;
}

bool SendInputCommand(CommandCall& call) {
    return Send(call, call.Runner().LastInputText());
}

bool SendInputToWindowCommand(CommandCall& call) {
    return ActivateWindowByTitle(call.Runner(), call.Text(1)) && Send(call, call.Runner().LastInputText());
}

// An expansion longer than the limit types nothing and answers FALSE.
bool SendEnvironmentCommand(CommandCall& call) {
    const std::optional<std::string> text =
        ExpandEnvironmentReferences(call.Text(1), ProcessEnvironment, kMaxTextBytes);
    return text && Send(call, *text);
}

bool SendNowCommand(CommandCall& call) {
    const std::string now = FormatLocalTime(call.GetPlatform().clock.Now(), call.Text(1));
    return now.empty() || Send(call, now);
}

} // namespace

void BindSendCommands(Engine& engine) {
    engine.Bind(CommandId::kSendKeys, SendKeysCommand);
    engine.Bind(CommandId::kSendKeysToWindow, SendKeysToWindowCommand);
    engine.Bind(CommandId::kSendKeysFromFile, SendKeysFromFileCommand);
    engine.Bind(CommandId::kSendInput, SendInputCommand);
    engine.Bind(CommandId::kSendInputToWindow, SendInputToWindowCommand);
    engine.Bind(CommandId::kSendEnvironment, SendEnvironmentCommand);
    engine.Bind(CommandId::kSendNow, SendNowCommand);
}

} // namespace ordwell
