#pragma once

namespace ordwell {

class Engine;

// Binds every command group to the engine: what a headless run and the
// editor both run with.
void BindAllCommands(Engine& engine);

} // namespace ordwell
