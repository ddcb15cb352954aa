#pragma once

namespace ordwell {

class Engine;

// Binds every command group of the system actions (files, text buffers,
// registry and INI files, system values, date and time, logs, programs, sound, session and power,
// windows).
void BindActionCommands(Engine& engine);

} // namespace ordwell
