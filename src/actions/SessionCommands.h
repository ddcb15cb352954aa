#pragma once

namespace ordwell {

class Engine;

// Binds Logout, ShutdownSystem, RebootSystem and PowerOff.
void BindSessionCommands(Engine& engine);

} // namespace ordwell
