#pragma once

#include <cstdint>

namespace ordwell {

class CMacroRunner;

// Waits for the given milliseconds while the user interface stays live;
// returns early, at once, when the run is asked to stop. 0 returns at once.
void PumpMessagesFor(CMacroRunner& runner, std::uint32_t ms);

} // namespace ordwell
