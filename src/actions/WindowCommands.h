#pragma once

namespace ordwell {

class Engine;

// Binds ActivateWindow, CloseWindow, QuitProgram, FindWindow, WindowActive,
// MinimizeWindow, MaximizeWindow and NormalizeWindow.
void BindWindowCommands(Engine& engine);

} // namespace ordwell
