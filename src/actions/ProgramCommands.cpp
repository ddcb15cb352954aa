// The commands that start programs and wait for them: RunProgram, Print,
// RunDOSCommand and WaitForProgram.
#include "ProgramCommands.h"

#include <memory>
#include <optional>

#include "CommandLineSplit.h"
#include "FirstWindowStyle.h"
#include "engine/CommandCall.h"
#include "engine/MacroRunner.h"
#include "platform/EventPump.h"
#include "platform/PathMapping.h"
#include "platform/Processes.h"

namespace ordwell {

namespace {

// A wait of this many milliseconds has no end, as on the platform the macro
// language was made for.
constexpr std::uint32_t kNoTimeout = 0xFFFFFFFF;

// What the program commands keep for the life of the process.
struct ProgramState {
    // The program RunProgram or Print started last; WaitForProgram waits
    // for it. Null before any start, after a failed one, and once a wait saw
    // the program end.
    std::shared_ptr<Process> lastStarted;
    std::unique_ptr<FirstWindowStyle> styles;
};

// The run style of argument n as a window state: an empty or missing
// argument is Normal when `emptyIsNormal`; any word but the four, in exactly
// their letter case, is none.
std::optional<ShowState> RunStyle(const CommandCall& call, int n, bool emptyIsNormal) {
    if (call.Count() < n || (emptyIsNormal && call.Text(n).empty())) {
        return ShowState::Normal;
    }
    // The order of the run styles in the catalogue is that of ShowState.
    const int choice = call.Choice(n);
    if (choice < 0) {
        return std::nullopt;
    }
    return static_cast<ShowState>(choice);
}

bool Launch(CommandCall& call, LaunchVerb verb, std::string_view file, std::string_view parameters, ShowState style) {
    Engine& engine = call.GetEngine();
    const Platform& platform = call.GetPlatform();
    ProgramState& state = engine.Shared<ProgramState>();
    state.lastStarted = platform.processes.Launch(verb, file, parameters);
    if (!state.lastStarted) {
        return false;
    }
    if (style != ShowState::Normal) {
        if (!state.styles) {
            state.styles = std::make_unique<FirstWindowStyle>(platform.pump, platform.windows, platform.clock);
        }
        state.styles->Apply(state.lastStarted, style);
    }
    return true;
}

bool RunProgramCommand(CommandCall& call) {
    const std::optional<ShowState> style = RunStyle(call, 2, false);
    if (!style) {
        return false;
    }
    const Platform& platform = call.GetPlatform();
    const CommandLineParts parts = CommandLineSplit(call.Text(1), [&platform](std::string_view prefix) {
        return platform.processes.IsProgram(platform.paths.NativePath(prefix));
    });
    return Launch(call, LaunchVerb::Open, platform.paths.NativePath(parts.program), parts.parameters, *style);
}

// Any argument count is accepted; arguments after the second are ignored.
bool PrintCommand(CommandCall& call) {
    const std::optional<ShowState> style = RunStyle(call, 2, true);
    if (!style) {
        return false;
    }
    return Launch(call, LaunchVerb::Print, call.Path(1), {}, *style);
}

bool RunDOSCommandCommand(CommandCall& call) {
    return call.GetPlatform().processes.RunCommandLine(call.Text(1));
}

// WaitForProgram([milliseconds]): no argument, an empty one and -1 wait
// without a time limit. FALSE when the time ran out or the run was asked to
// stop first; the program is then kept, so a later wait waits for it again.
bool WaitForProgramCommand(CommandCall& call) {
    ProgramState& state = call.GetEngine().Shared<ProgramState>();
    if (!state.lastStarted) {
        return true;
    }
    Process& process = *state.lastStarted;
    const std::uint32_t timeout = call.Count() == 0 ? kNoTimeout : static_cast<std::uint32_t>(call.Number(1));
    bool ended = process.HasEnded();
    if (!ended && timeout > 0) {
        CMacroRunner& runner = call.Runner();
        EventPump& pump = call.GetPlatform().pump;
        EventPump::EventId watch = 0;
        // The handle stays ready once the program has ended: the watch ends
        // itself.
        watch = pump.Watch(process.Handle(), [&] {
            ended = true;
            pump.Cancel(watch);
        });
        const auto done = [&] { return ended || runner.StopRequested(); };
        if (timeout == kNoTimeout) {
            while (!pump.WaitFor(kNoTimeout, done)) {
            }
        } else {
            pump.WaitFor(timeout, done);
        }
        pump.Cancel(watch);
        ended = process.HasEnded();
    }
    if (!ended) {
        return false;
    }
    state.lastStarted.reset();
    return true;
}

} // namespace

void BindProgramCommands(Engine& engine) {
    engine.Bind(CommandId::kRunProgram, RunProgramCommand);
    engine.Bind(CommandId::kPrint, PrintCommand);
    engine.Bind(CommandId::kRunDOSCommand, RunDOSCommandCommand);
    engine.Bind(CommandId::kWaitForProgram, WaitForProgramCommand);
}

} // namespace ordwell
