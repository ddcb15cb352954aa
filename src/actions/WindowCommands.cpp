// The window commands: find top-level windows by title and activate, close,
// minimize, maximize or restore them. A window that cannot be found only
// makes the line FALSE.
#include "WindowCommands.h"

#include "WindowLookup.h"
#include "WindowWaits.h"
#include "engine/CommandCall.h"

namespace ordwell {

namespace {

WindowSystem& Windows(const CommandCall& call) {
    return call.GetPlatform().windows;
}

bool ActivateWindowCommand(CommandCall& call) {
    return ActivateWindowByTitle(call.Runner(), call.Text(1));
}

// Waits until the window is gone or its program has answered (a program
// that asks whether to save answers with its question), but no longer than
// a hung program deserves.
bool CloseWindowCommand(CommandCall& call) {
    WindowSystem& windows = Windows(call);
    const WindowId window = FindWindowByTitle(windows, call.Text(1));
    if (window == kNoWindow) {
        return false;
    }
    const WaitBound bound = RunWaitBound(call.Runner(), kCloseBoundMs);
    return windows.Close(window, CloseMode::Wait, bound) != CloseOutcome::NotDelivered;
}

bool QuitProgramCommand(CommandCall& call) {
    WindowSystem& windows = Windows(call);
    const WindowId window = FindWindowByTitle(windows, call.Text(1));
    if (!windows.Exists(window)) {
        return false;
    }
    return windows.Close(window, CloseMode::Post, {}) != CloseOutcome::NotDelivered;
}

bool FindWindowCommand(CommandCall& call) {
    return FindWindowByTitle(Windows(call), call.Text(1)) != kNoWindow;
}

// The whole title, compared exactly: no patterns here.
bool WindowActiveCommand(CommandCall& call) {
    WindowSystem& windows = Windows(call);
    const WindowId active = windows.ActiveWindow();
    return active != kNoWindow && windows.Title(active) == call.Text(1);
}

// With no argument the window is the active one, whichever it is.
bool ShowWindowAs(CommandCall& call, ShowState state) {
    WindowSystem& windows = Windows(call);
    const WindowId window = call.Count() == 0 ? windows.ActiveWindow() : FindWindowByTitle(windows, call.Text(1));
    if (window == kNoWindow) {
        return false;
    }
    return windows.Show(window, state, RunWaitBound(call.Runner(), kShowBoundMs));
}

bool MinimizeWindowCommand(CommandCall& call) {
    return ShowWindowAs(call, ShowState::Minimized);
}

bool MaximizeWindowCommand(CommandCall& call) {
    return ShowWindowAs(call, ShowState::Maximized);
}

bool NormalizeWindowCommand(CommandCall& call) {
    return ShowWindowAs(call, ShowState::Normal);
}

} // namespace

void BindWindowCommands(Engine& engine) {
    engine.Bind(CommandId::kActivateWindow, ActivateWindowCommand);
    engine.Bind(CommandId::kCloseWindow, CloseWindowCommand);
    engine.Bind(CommandId::kQuitProgram, QuitProgramCommand);
    engine.Bind(CommandId::kFindWindow, FindWindowCommand);
    engine.Bind(CommandId::kWindowActive, WindowActiveCommand);
    engine.Bind(CommandId::kMinimizeWindow, MinimizeWindowCommand);
    engine.Bind(CommandId::kMaximizeWindow, MaximizeWindowCommand);
    engine.Bind(CommandId::kNormalizeWindow, NormalizeWindowCommand);
}

} // namespace ordwell
