#include "Waiting.h"

#include "Engine.h"
#include "MacroRunner.h"
#include "platform/EventPump.h"

namespace ordwell {

void PumpMessagesFor(CMacroRunner& runner, std::uint32_t ms) {
    if (ms == 0 || runner.StopRequested()) {
        return;
    }
    runner.GetEngine().GetPlatform().pump.WaitFor(ms, [&runner] { return runner.StopRequested(); });
}

} // namespace ordwell
