#include "AllCommands.h"

#include "actions/ActionCommands.h"
#include "dde/DdeCommands.h"
#include "input/InputCommands.h"

namespace ordwell {

void BindAllCommands(Engine& engine) {
    BindActionCommands(engine);
    BindDdeCommands(engine);
    BindInputCommands(engine);
}

} // namespace ordwell
