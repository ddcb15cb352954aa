#pragma once

#include <cstdint>
#include <string_view>

namespace ordwell {

// The settings of section "System" that runs and the editor read, with the
// defaults a machine without them has. The System Options dialog edits
// them; everyone else reads them at the moment of use.
inline constexpr std::string_view kSystemSection = "System";
// Milliseconds after each item SendKeys sends.
inline constexpr std::string_view kKeyDelayKey = "KeyDelay";
inline constexpr std::int32_t kDefaultKeyDelay = 1;
// The program External Editor starts (its default is the editor's own).
inline constexpr std::string_view kEditorKey = "Editor";
// Non-zero: printed macros carry line numbers.
inline constexpr std::string_view kPrintLineNumbersKey = "PrintLineNumbers";
inline constexpr std::int32_t kDefaultPrintLineNumbers = 1;
// The event log and the error log; a relative name is taken from the
// current directory at each write.
inline constexpr std::string_view kEventLogKey = "EventLog";
inline constexpr std::string_view kDefaultEventLog = "macsys.log";
inline constexpr std::string_view kErrorLogKey = "ErrorLog";
inline constexpr std::string_view kDefaultErrorLog = "macerr.log";
// The key that stops every run from anywhere on the desktop, a key
// combination in the SendKeys language ("{PAUSE}", "^%{F12}"), or "none".
inline constexpr std::string_view kStopKeyKey = "StopKey";
inline constexpr std::string_view kDefaultStopKey = "{PAUSE}";
inline constexpr std::string_view kNoStopKey = "none";

} // namespace ordwell
