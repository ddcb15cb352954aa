#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ordwell {

class Engine;

// Appends text to a file, creating it when missing; the file is opened and
// closed for this one write. The whole text is written in one atomic append.
// False when the file could not be opened or written.
bool AppendToFile(Engine& engine, std::string_view fileName, std::string_view text);

// "MM/DD/YY HH:MM:SS text" and CR LF, stamped with the local time.
std::string FormatLogLine(std::int64_t now, std::string_view text);

bool WriteLogLine(Engine& engine, std::string_view fileName, std::string_view text);
// The error and event logs, named by the settings "ErrorLog" and "EventLog"
// of section "System" at every write.
bool WriteErrorLog(Engine& engine, std::string_view text);
bool WriteEventLog(Engine& engine, std::string_view text);

} // namespace ordwell
