#pragma once

namespace ordwell {

class Engine;

void BindFlowCommands(Engine& engine);

} // namespace ordwell
