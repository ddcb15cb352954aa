// Flow control: If, While, Repeat, For, GoTo, OnError, ExitMacro, DoNothing,
// ResponseOk, ResponseCancel and RunMacro.
#include "FlowCommands.h"

#include <cstdint>

#include "CommandCall.h"
#include "MacroPath.h"
#include "MacroRunner.h"
#include "platform/Dialogs.h"

namespace ordwell {

namespace {

bool If(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    if (runner.Execute(call.Text(1))) {
        return runner.SyntaxFlag() ? runner.Execute(call.Text(2)) : true;
    }
    if (call.Count() == 3 && runner.SyntaxFlag()) {
        return runner.Execute(call.Text(3));
    }
    return true;
}

bool While(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    // Parsed once; variables in them still take their values at every round.
    const LineSyntax test = ParseLineSyntax(call.Text(1));
    const LineSyntax body = ParseLineSyntax(call.Text(2));
    bool result = true;
    while (runner.Execute(test)) {
        if (runner.StopRequested() || !runner.SyntaxFlag()) {
            break;
        }
        result = runner.Execute(body);
    }
    return result;
}

// Runs the command once for each count from `from` up to, not including,
// `to`; ends early on a stop request or when the command answers FALSE.
// Returns the last result, or TRUE when nothing ran.
bool RunCounted(CMacroRunner& runner, std::string_view text, std::int64_t from, std::int64_t to) {
    const LineSyntax command = ParseLineSyntax(text);
    bool result = true;
    for (std::int64_t i = from; i < to && !runner.StopRequested(); ++i) {
        result = runner.Execute(command);
        if (!result) {
            break;
        }
    }
    return result;
}

bool Repeat(CommandCall& call) {
    return RunCounted(call.Runner(), call.Text(1), 0, call.Number(2));
}

bool For(CommandCall& call) {
    return RunCounted(call.Runner(), call.Text(3), call.Number(1), call.Number(2));
}

bool GoTo(CommandCall& call) {
    CMacroRunner& runner = call.Runner();
    const int index = runner.FindLabel(call.Text(1));
    if (index < 0) {
        runner.SetSyntaxFlag(false);
        return false;
    }
    runner.SetCurrentLine(index);
    return true;
}

bool OnError(CommandCall& call) {
    call.Runner().SetErrorLabel(call.Text(1));
    return true;
}

bool ExitMacro(CommandCall& call) {
    call.Runner().RequestStop();
    return true;
}

bool DoNothing(CommandCall&) {
    return true;
}

bool ResponseOk(CommandCall& call) {
    return call.Runner().LastResponse() == kAnswerOk;
}

bool ResponseCancel(CommandCall& call) {
    return call.Runner().LastResponse() == kAnswerCancel;
}

bool RunMacro(CommandCall& call) {
    Engine& engine = call.GetEngine();
    CMacroRunner inner(engine, MapMacroPath(call.Text(1), engine.GetSettings()));
    if (inner.LoadStatus() == 1) {
        return false;
    }
    inner.Run();
    return true;
}

} // namespace

void BindFlowCommands(Engine& engine) {
    engine.Bind(CommandId::If, If);
    engine.Bind(CommandId::While, While);
    engine.Bind(CommandId::Repeat, Repeat);
    engine.Bind(CommandId::For, For);
    engine.Bind(CommandId::GoTo, GoTo);
    engine.Bind(CommandId::OnError, OnError);
    engine.Bind(CommandId::ExitMacro, ExitMacro);
    engine.Bind(CommandId::DoNothing, DoNothing);
    engine.Bind(CommandId::ResponseOk, ResponseOk);
    engine.Bind(CommandId::ResponseCancel, ResponseCancel);
    engine.Bind(CommandId::RunMacro, RunMacro);
}

} // namespace ordwell
