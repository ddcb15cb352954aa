// LogError, LogEvent and LogToFile: time-stamped lines in the error log, the
// event log or any file, through the log writer.
#include "LogCommands.h"

#include "engine/CommandCall.h"
#include "engine/LogWriter.h"

namespace ordwell {

namespace {

// The system logs go on silently when they cannot be written.
bool LogError(CommandCall& call) {
    WriteErrorLog(call.GetEngine(), call.Text(1));
    return true;
}

bool LogEvent(CommandCall& call) {
    WriteEventLog(call.GetEngine(), call.Text(1));
    return true;
}

bool LogToFile(CommandCall& call) {
    return WriteLogLine(call.GetEngine(), call.Text(1), call.Text(2));
}

} // namespace

void BindLogCommands(Engine& engine) {
    engine.Bind(CommandId::LogError, LogError);
    engine.Bind(CommandId::LogEvent, LogEvent);
    engine.Bind(CommandId::LogToFile, LogToFile);
}

} // namespace ordwell
