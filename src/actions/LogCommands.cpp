// LogError, LogEvent and LogToFile: time-stamped lines in the error log, the
// event log or any file, through the log writer.
#include "LogCommands.h"

#include "engine/CommandCall.h"
#include "engine/LogWriter.h"

namespace ordwell {

namespace {

// The system logs go on silently when they cannot be written.
bool LogErrorCommand(CommandCall& call) {
    WriteErrorLog(call.GetEngine(), call.Text(1));
    return true;
}

bool LogEventCommand(CommandCall& call) {
    WriteEventLog(call.GetEngine(), call.Text(1));
    return true;
}

bool LogToFileCommand(CommandCall& call) {
    return WriteLogLine(call.GetEngine(), call.Text(1), call.Text(2));
}

} // namespace

void BindLogCommands(Engine& engine) {
    engine.Bind(CommandId::kLogError, LogErrorCommand);
    engine.Bind(CommandId::kLogEvent, LogEventCommand);
    engine.Bind(CommandId::kLogToFile, LogToFileCommand);
}

} // namespace ordwell
