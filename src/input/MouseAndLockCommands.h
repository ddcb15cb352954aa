#pragma once

namespace ordwell {

class Engine;

// Binds MouseClickScreen, MouseDblClickScreen and SetCapsLock.
void BindMouseAndLockCommands(Engine& engine);

} // namespace ordwell
