// The commands that work on the variables: PutVar, Increment, Decrement,
// Dump and GetClipBoard.
#include "VariableCommands.h"

#include <cstdint>
#include <optional>

#include "CommandCall.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"

namespace ordwell {

namespace {

bool PutVarCommand(CommandCall& call) {
    return call.Store(1, call.Text(2));
}

// Adds to the variable's number with 32-bit two's-complement wrapping.
bool AddToVariable(CommandCall& call, std::uint32_t delta) {
    const int index = VariableStore::Index(call.Text(1));
    if (index < 0) {
        return false;
    }
    VariableStore& variables = call.GetEngine().Variables();
    const std::optional<std::int32_t> number = variables.Number(index);
    const std::int32_t current = number ? *number : ReadWholeNumber(variables.Value(index));
    variables.SetNumber(index, static_cast<std::int32_t>(static_cast<std::uint32_t>(current) + delta));
    return true;
}

bool IncrementCommand(CommandCall& call) {
    return AddToVariable(call, 1U);
}

bool DecrementCommand(CommandCall& call) {
    return AddToVariable(call, ~0U);
}

bool DumpCommand(CommandCall& call) {
    const VariableStore& variables = call.GetEngine().Variables();
    std::string text;
    for (int i = 0; i < 26; ++i) {
        text += '%';
        text += static_cast<char>('A' + i);
        text += " = ";
        text += variables.Value(i);
        text += '\n';
    }
    call.GetPlatform().dialogs.ShowMessage(text, "Contents of Variables", MessageStyle::Ok);
    return true;
}

bool GetClipBoardCommand(CommandCall& call) {
    const auto text = call.GetPlatform().clipboard.Text();
    if (!text) {
        return false;
    }
    call.Store(1, *text);
    return true;
}

} // namespace

void BindVariableCommands(Engine& engine) {
    engine.Bind(CommandId::kPutVar, PutVarCommand);
    engine.Bind(CommandId::kIncrement, IncrementCommand);
    engine.Bind(CommandId::kDecrement, DecrementCommand);
    engine.Bind(CommandId::kDump, DumpCommand);
    engine.Bind(CommandId::kGetClipBoard, GetClipBoardCommand);
}

} // namespace ordwell
