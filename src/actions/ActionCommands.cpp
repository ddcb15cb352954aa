#include "ActionCommands.h"

#include "DateTimeCommands.h"
#include "FileCommands.h"
#include "IniCommands.h"
#include "LogCommands.h"
#include "ProgramCommands.h"
#include "RegistryCommands.h"
#include "SessionCommands.h"
#include "SystemCommands.h"
#include "TextBufferCommands.h"
#include "WindowCommands.h"

namespace ordwell {

void BindActionCommands(Engine& engine) {
    BindFileCommands(engine);
    BindTextBufferCommands(engine);
    BindSystemCommands(engine);
    BindDateTimeCommands(engine);
    BindRegistryCommands(engine);
    BindIniCommands(engine);
    BindLogCommands(engine);
    BindProgramCommands(engine);
    BindSessionCommands(engine);
    BindWindowCommands(engine);
}

} // namespace ordwell
