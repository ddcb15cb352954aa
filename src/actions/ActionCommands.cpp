#include "ActionCommands.h"

#include "IniCommands.h"
#include "LogCommands.h"
#include "RegistryCommands.h"

namespace ordwell {

void BindActionCommands(Engine& engine) {
    BindRegistryCommands(engine);
    BindIniCommands(engine);
    BindLogCommands(engine);
}

} // namespace ordwell
