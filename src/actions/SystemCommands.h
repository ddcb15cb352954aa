#pragma once

namespace ordwell {

class Engine;

// Binds GetSystem, LogSystem and the comparisons IfLessThan, IfMoreThan and
// IfEquals.
void BindSystemCommands(Engine& engine);

} // namespace ordwell
