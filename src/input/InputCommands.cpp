#include "InputCommands.h"

#include "MouseAndLockCommands.h"
#include "SendCommands.h"

namespace ordwell {

void BindInputCommands(Engine& engine) {
    BindSendCommands(engine);
    BindMouseAndLockCommands(engine);
}

} // namespace ordwell
