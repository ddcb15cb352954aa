#pragma once

namespace ordwell {

class Engine;

// Binds LogError, LogEvent and LogToFile.
void BindLogCommands(Engine& engine);

} // namespace ordwell
