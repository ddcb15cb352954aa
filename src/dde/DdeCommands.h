#pragma once

namespace ordwell {

class Engine;

// Binds DdeCommand and DdeScript, which send execute strings to programs
// that serve an application and topic.
void BindDdeCommands(Engine& engine);

} // namespace ordwell
