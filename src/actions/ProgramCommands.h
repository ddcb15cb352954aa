#pragma once

namespace ordwell {

class Engine;

// Binds RunProgram, Print, RunDOSCommand and WaitForProgram.
void BindProgramCommands(Engine& engine);

} // namespace ordwell
