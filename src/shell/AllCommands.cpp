#include "AllCommands.h"

#include "actions/ActionCommands.h"
#include "dde/DdeCommands.h"

namespace ordwell {

void BindAllCommands(Engine& engine) {
    BindActionCommands(engine);
    BindDdeCommands(engine);
}

} // namespace ordwell
