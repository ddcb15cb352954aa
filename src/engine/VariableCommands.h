#pragma once

namespace ordwell {

class Engine;

void BindVariableCommands(Engine& engine);

} // namespace ordwell
