#include "ActionCommands.h"

#include "FileCommands.h"
#include "TextBufferCommands.h"
#include "DateTimeCommands.h"
#include "SystemCommands.h"
#include "IniCommands.h"
#include "LogCommands.h"
#include "RegistryCommands.h"

namespace ordwell {

void BindActionCommands(Engine& engine) {
    BindFileCommands(engine);
    BindTextBufferCommands(engine);
    BindSystemCommands(engine);
    BindDateTimeCommands(engine);
    BindRegistryCommands(engine);
    BindIniCommands(engine);
    BindLogCommands(engine);
}

} // namespace ordwell
