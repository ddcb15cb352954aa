#pragma once

namespace ordwell {

class Engine;

// Binds the commands that type: SendKeys, SendKeysToWindow,
// SendKeysFromFile, SendInput, SendInputToWindow, SendEnvironment and
// SendNow.
void BindSendCommands(Engine& engine);

} // namespace ordwell
