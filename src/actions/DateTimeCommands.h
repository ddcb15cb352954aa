#pragma once

namespace ordwell {

class Engine;

// Binds GetDate, GetTime, GetDateTime and the date and time comparisons
// IsDateBefore/After/Equal/Between and IsTimeBefore/After/Equal/Between.
void BindDateTimeCommands(Engine& engine);

} // namespace ordwell
