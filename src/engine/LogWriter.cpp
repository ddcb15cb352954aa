#include "LogWriter.h"

#include <ctime>

#include "Engine.h"
#include "LocalTime.h"
#include "SystemSettings.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/PathMapping.h"

namespace ordwell {

bool AppendToFile(Engine& engine, std::string_view fileName, std::string_view text) {
    if (fileName.empty()) {
        return false;
    }
    const Platform& platform = engine.GetPlatform();
    return platform.files.Append(platform.paths.NativePath(fileName), text);
}

std::string FormatLogLine(std::int64_t now, std::string_view text) {
    char stamp[32] = "--/--/-- --:--:-- ";
    size_t length = 18;
    // A clock beyond what the calendar functions can place gets a stamp of
    // dashes, of the same width, rather than none.
    if (const std::optional<std::tm> local = LocalTimeFields(now)) {
        length = std::strftime(stamp, sizeof stamp, "%m/%d/%y %H:%M:%S ", &*local);
    }
    std::string line;
    line.reserve(length + text.size() + 2);
    line.append(stamp, length).append(text).append("\r\n");
    return line;
}

bool WriteLogLine(Engine& engine, std::string_view fileName, std::string_view text) {
    return AppendToFile(engine, fileName, FormatLogLine(engine.GetPlatform().clock.Now(), text));
}

bool WriteErrorLog(Engine& engine, std::string_view text) {
    return WriteLogLine(engine, engine.GetSettings().GetString(kSystemSection, kErrorLogKey, kDefaultErrorLog), text);
}

bool WriteEventLog(Engine& engine, std::string_view text) {
    return WriteLogLine(engine, engine.GetSettings().GetString(kSystemSection, kEventLogKey, kDefaultEventLog), text);
}

} // namespace ordwell
