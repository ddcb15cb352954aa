#pragma once

namespace ordwell {

class Engine;

// OpenFile, ReadLine and CloseFile: reading text files line by line through
// the process-wide TextBufferTable.
void BindTextBufferCommands(Engine& engine);

} // namespace ordwell
