#include "TextBufferCommands.h"

#include "TextBufferTable.h"
#include "engine/CommandCall.h"
#include "platform/FileSystem.h"

namespace ordwell {

namespace {

// The buffer identifier reads like atoi: text without a leading number,
// the empty text included, names buffer 0.
int BufferId(const CommandCall& call) {
    return ReadWholeNumber(call.Text(1));
}

TextBufferTable& Buffers(const CommandCall& call) {
    return call.GetEngine().Shared<TextBufferTable>();
}

bool OpenFileCommand(CommandCall& call) {
    TextBufferTable& buffers = Buffers(call);
    const int id = BufferId(call);
    if (!buffers.IsFree(id)) {
        return false;
    }
    return buffers.Bind(id, call.GetPlatform().files.OpenForRead(call.Path(2)));
}

bool ReadLineCommand(CommandCall& call) {
    // At the end of the file the variable keeps what it held.
    const auto line = Buffers(call).ReadLine(BufferId(call));
    if (!line) {
        return false;
    }
    call.Store(2, *line);
    return true;
}

bool CloseFileCommand(CommandCall& call) {
    return Buffers(call).Close(BufferId(call));
}

} // namespace

void BindTextBufferCommands(Engine& engine) {
    engine.Bind(CommandId::kOpenFile, OpenFileCommand);
    engine.Bind(CommandId::kReadLine, ReadLineCommand);
    engine.Bind(CommandId::kCloseFile, CloseFileCommand);
}

} // namespace ordwell
