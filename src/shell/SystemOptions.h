#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace ordwell {

class Settings;

// The settings of section "System" that the System Options dialog edits.
struct SystemOptions {
    std::int32_t keyDelay = 0; // milliseconds, 0 to 999
    std::string editor;
    bool printLineNumbers = true;
    std::string eventLog;
    std::string errorLog;
    std::string stopKey; // a key combination in the SendKeys language, or "none"

    friend bool operator==(const SystemOptions&, const SystemOptions&) = default;
};

// The options as stored, each with its default where none is stored.
SystemOptions ReadSystemOptions(const Settings& settings);
// Writes them all: the key delay and the line-number switch (0 or 1) as
// numbers, the others as text.
void WriteSystemOptions(Settings& settings, const SystemOptions& options);

// The dialog's fields as the user left them.
struct SystemOptionsFields {
    std::string keyDelay;
    std::string editor;
    bool printLineNumbers = true;
    std::string eventLog;
    std::string errorLog;
    std::string stopKey;
};

// A field the dialog cannot take, and what to tell the user.
struct OptionsProblem {
    enum class Field { KeyDelay, Editor, EventLog, ErrorLog, StopKey };
    Field field;
    std::string message;
};

// Longest text a name field takes, in characters.
inline constexpr std::size_t kOptionsTextLimit = 254;

// The options the fields stand for, or the first field that is wrong, in the
// dialog's order: the key delay must be a whole number from 0 to 999 (blanks
// around it do not matter), each name at most 254 characters long, and the
// stop key a key combination in the SendKeys language or "none" (or empty,
// which is none); it is kept in the form the runs read back.
std::variant<SystemOptions, OptionsProblem> CheckSystemOptions(const SystemOptionsFields& fields);

} // namespace ordwell
