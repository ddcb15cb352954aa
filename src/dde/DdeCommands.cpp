#include "DdeCommands.h"

#include "DdeConversation.h"
#include "DdeInstance.h"
#include "engine/CommandCall.h"
#include "engine/MacroRunner.h"

namespace ordwell {

namespace {

// Each command holds its own conversation, from connecting to disconnecting.
bool DdeCommandCommand(CommandCall& call) {
    DdeConversation conversation(call.GetEngine().Shared<DdeInstance>(), call.GetPlatform(),
                                 [&call] { return call.Runner().StopRequested(); });
    const bool sent = conversation.Connect(call.Text(1), call.Text(2)) && conversation.SendExecute(call.Text(3));
    conversation.Disconnect();
    return sent;
}

bool DdeScriptCommand(CommandCall& call) {
    DdeConversation conversation(call.GetEngine().Shared<DdeInstance>(), call.GetPlatform(),
                                 [&call] { return call.Runner().StopRequested(); });
    const bool read = conversation.Connect(call.Text(1), call.Text(2)) && conversation.SendScript(call.Path(3));
    conversation.Disconnect();
    return read;
}

} // namespace

void BindDdeCommands(Engine& engine) {
    engine.Bind(CommandId::kDdeCommand, DdeCommandCommand);
    engine.Bind(CommandId::kDdeScript, DdeScriptCommand);
}

} // namespace ordwell
