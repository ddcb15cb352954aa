#include "TextBufferCommands.h"

#include "TextBufferTable.h"
#include "engine/CommandCall.h"
#include "engine/MacroPath.h"
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

bool OpenFile(CommandCall& call) {
    TextBufferTable& buffers = Buffers(call);
    const int id = BufferId(call);
    if (!buffers.IsFree(id)) {
        return false;
    }
    const std::string path = MapMacroPath(call.Text(2), call.GetEngine().GetSettings());
    return buffers.Bind(id, call.GetPlatform().files->OpenForRead(path));
}

bool ReadLine(CommandCall& call) {
    // At the end of the file the variable keeps what it held.
    const auto line = Buffers(call).ReadLine(BufferId(call));
    if (!line) {
        return false;
    }
    call.Store(2, *line);
    return true;
}

bool CloseFile(CommandCall& call) {
    return Buffers(call).Close(BufferId(call));
}

} // namespace

void BindTextBufferCommands(Engine& engine) {
    engine.Bind(CommandId::OpenFile, OpenFile);
    engine.Bind(CommandId::ReadLine, ReadLine);
    engine.Bind(CommandId::CloseFile, CloseFile);
}

} // namespace ordwell
