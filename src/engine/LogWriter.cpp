#include "LogWriter.h"

#include <ctime>

#include "Engine.h"
#include "MacroPath.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace ordwell {

bool AppendToFile(Engine& engine, std::string_view fileName, std::string_view text) {
    if (fileName.empty()) {
        return false;
    }
    const std::string path = MapMacroPath(fileName, engine.GetSettings());
    return engine.GetPlatform().files->Append(path, text);
}

std::string FormatLogLine(std::int64_t now, std::string_view text) {
    const auto seconds = static_cast<std::time_t>(now);
    const std::tm local = *std::localtime(&seconds);
    char stamp[32];
    const size_t length = std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S ", &local);
    std::string line;
    line.reserve(length + text.size() + 2);
    line.append(stamp, length).append(text).append("\r\n");
    return line;
}

bool WriteLogLine(Engine& engine, std::string_view fileName, std::string_view text) {
    return AppendToFile(engine, fileName, FormatLogLine(engine.GetPlatform().clock->Now(), text));
}

bool WriteErrorLog(Engine& engine, std::string_view text) {
    return WriteLogLine(engine, engine.GetSettings().GetString("System", "ErrorLog", "macerr.log"), text);
}

bool WriteEventLog(Engine& engine, std::string_view text) {
    return WriteLogLine(engine, engine.GetSettings().GetString("System", "EventLog", "macsys.log"), text);
}

} // namespace ordwell
