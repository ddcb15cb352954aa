#include "DialogCommands.h"
#include "Engine.h"
#include "FlowCommands.h"
#include "VariableCommands.h"

namespace ordwell {

void BindEngineCommands(Engine& engine) {
    BindFlowCommands(engine);
    BindVariableCommands(engine);
    BindDialogCommands(engine);
}

} // namespace ordwell
