#include "InputCommands.h"

#include "MouseAndLockCommands.h"
#include "SendCommands.h"
#include "StopKey.h"

namespace ordwell {

void BindInputCommands(Engine& engine) {
    BindSendCommands(engine);
    BindMouseAndLockCommands(engine);
    BindStopKey(engine);
}

} // namespace ordwell
