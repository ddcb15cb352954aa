#pragma once

namespace ordwell {

class Engine;

// Binds every command of keystroke and mouse simulation: the send commands,
// the mouse clicks and Caps Lock; and the stop key of every run.
void BindInputCommands(Engine& engine);

} // namespace ordwell
