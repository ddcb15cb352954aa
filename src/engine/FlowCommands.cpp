// Flow control: If, While, Repeat, For, GoTo, OnError, ExitMacro, DoNothing,
// ResponseOk, ResponseCancel and RunMacro.
#include "FlowCommands.h"

#include <cstdint>

#include "CommandCall.h"
#include "LineCheck.h"
#include "MacroRunner.h"
#include "platform/Dialogs.h"

namespace ordwell {

namespace {

// A stop request that came while the test ran ends the line there: no branch
// starts, as no round of a loop starts.
bool IfCommand(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    const bool test = call.RunNested(1);
    if (runner.StopRequested()) {
        return true;
    }
    if (test) {
        return runner.SyntaxFlag() ? call.RunNested(2) : true;
    }
    if (call.Count() == 3 && runner.SyntaxFlag()) {
        return call.RunNested(3);
    }
    return true;
}

// The test runs after every round, so a failing body does not end the loop
// and does not fail the line unless the test itself fails.
bool WhileCommand(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    bool result = true;
    while (call.RunNested(1)) {
        if (runner.StopRequested() || !runner.SyntaxFlag()) {
            break;
        }
        result = call.RunNested(2);
    }
    return result;
}

// Runs argument n once for each count from `from` up to, not including,
// `to`; ends early on a stop request or when the command answers FALSE.
// Returns the last result, or TRUE when nothing ran.
bool RunCounted(CommandCall& call, int n, std::int64_t from, std::int64_t to) {
    bool result = true;
    for (std::int64_t i = from; i < to && !call.Runner().StopRequested(); ++i) {
        result = call.RunNested(n);
        if (!result) {
            break;
        }
    }
    return result;
}

bool RepeatCommand(CommandCall& call) {
    return RunCounted(call, 1, 0, call.Number(2));
}

bool ForCommand(CommandCall& call) {
    return RunCounted(call, 3, call.Number(1), call.Number(2));
}

bool GoToCommand(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    const int index = runner.FindLabel(call.Text(1));
    if (index < 0) {
        call.FailLine(MissingLabelText(call.Text(1)));
        return false;
    }
    runner.SetCurrentLine(index);
    return true;
}

bool OnErrorCommand(CommandCall& call) {
    call.Runner().SetErrorLabel(std::string(call.Text(1)));
    return true;
}

bool ExitMacroCommand(CommandCall& call) {
    call.Runner().RequestStop();
    return true;
}

bool DoNothingCommand(CommandCall&) {
    return true;
}

bool ResponseOkCommand(CommandCall& call) {
    return call.Runner().LastResponse() == kAnswerOk;
}

bool ResponseCancelCommand(CommandCall& call) {
    return call.Runner().LastResponse() == kAnswerCancel;
}

// A macro that is missing or cannot be read runs nothing and answers FALSE;
// the line does not fail.
bool RunMacroCommand(CommandCall& call) {
    CMacroRunner inner(call.GetEngine(), call.Text(1));
    if (inner.LoadStatus() != 0) {
        return false;
    }
    inner.Run();
    return true;
}

} // namespace

void BindFlowCommands(Engine& engine) {
    engine.Bind(CommandId::kIf, IfCommand);
    engine.Bind(CommandId::kWhile, WhileCommand);
    engine.Bind(CommandId::kRepeat, RepeatCommand);
    engine.Bind(CommandId::kFor, ForCommand);
    engine.Bind(CommandId::kGoTo, GoToCommand);
    engine.Bind(CommandId::kOnError, OnErrorCommand);
    engine.Bind(CommandId::kExitMacro, ExitMacroCommand);
    engine.Bind(CommandId::kDoNothing, DoNothingCommand);
    engine.Bind(CommandId::kResponseOk, ResponseOkCommand);
    engine.Bind(CommandId::kResponseCancel, ResponseCancelCommand);
    engine.Bind(CommandId::kRunMacro, RunMacroCommand);
}

} // namespace ordwell
