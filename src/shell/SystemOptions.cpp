#include "SystemOptions.h"

#include <charconv>
#include <optional>

#include "editor/ExternalEditor.h"
#include "engine/AsciiText.h"
#include "engine/Settings.h"
#include "engine/SystemSettings.h"
#include "input/KeyCombinationText.h"
#include "text/Utf8.h"

namespace ordwell {

namespace {

constexpr std::int32_t kMaxKeyDelay = 999;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

SystemOptions ReadSystemOptions(const Settings& settings) {
    SystemOptions options;
    options.keyDelay = settings.GetInt(kSystemSection, kKeyDelayKey, kDefaultKeyDelay);
    options.editor = settings.GetString(kSystemSection, kEditorKey, kDefaultEditor);
    options.printLineNumbers = settings.GetInt(kSystemSection, kPrintLineNumbersKey, kDefaultPrintLineNumbers) != 0;
    options.eventLog = settings.GetString(kSystemSection, kEventLogKey, kDefaultEventLog);
    options.errorLog = settings.GetString(kSystemSection, kErrorLogKey, kDefaultErrorLog);
    options.stopKey = settings.GetString(kSystemSection, kStopKeyKey, kDefaultStopKey);
    return options;
}

void WriteSystemOptions(Settings& settings, const SystemOptions& options) {
    settings.WriteInt(kSystemSection, kKeyDelayKey, options.keyDelay);
    settings.WriteString(kSystemSection, kEditorKey, options.editor);
    settings.WriteInt(kSystemSection, kPrintLineNumbersKey, options.printLineNumbers ? 1 : 0);
    settings.WriteString(kSystemSection, kEventLogKey, options.eventLog);
    settings.WriteString(kSystemSection, kErrorLogKey, options.errorLog);
    settings.WriteString(kSystemSection, kStopKeyKey, options.stopKey);
}

std::variant<SystemOptions, OptionsProblem> CheckSystemOptions(const SystemOptionsFields& fields) {
    using Field = OptionsProblem::Field;
    SystemOptions options;
    const std::string_view delay = Trimmed(fields.keyDelay);
    const char* end = delay.data() + delay.size();
    const auto [stop, error] = std::from_chars(delay.data() + (delay.starts_with('+') ? 1 : 0), end, options.keyDelay);
    if (delay.empty() || error != std::errc() || stop != end) {
        return OptionsProblem{Field::KeyDelay, "Please enter a whole number."};
    }
    if (options.keyDelay < 0 || options.keyDelay > kMaxKeyDelay) {
        return OptionsProblem{Field::KeyDelay, "Please enter a whole number between 0 and 999."};
    }
    const std::pair<const std::string*, Field> names[] = {
        {&fields.editor, Field::Editor}, {&fields.eventLog, Field::EventLog}, {&fields.errorLog, Field::ErrorLog}};
    for (const auto& [text, field] : names) {
        if (CountUtf8Chars(*text) > kOptionsTextLimit) {
            return OptionsProblem{field, "Please enter no more than 254 characters."};
        }
    }
    options.editor = fields.editor;
    options.printLineNumbers = fields.printLineNumbers;
    options.eventLog = fields.eventLog;
    options.errorLog = fields.errorLog;
    const std::string_view stopKey = Trimmed(fields.stopKey);
    if (stopKey.empty() || EqualIgnoringAsciiCase(stopKey, kNoStopKey)) {
        options.stopKey = kNoStopKey;
    } else if (const std::optional<KeyCombination> key = ReadKeyCombination(stopKey)) {
        options.stopKey = KeyCombinationText(*key);
    } else {
        return OptionsProblem{Field::StopKey, "Please enter one key, with +, ^ or % before it for Shift, Ctrl or Alt, "
                                              "as SendKeys writes it ({PAUSE}, ^%{F12}), or none."};
    }
    return options;
}

} // namespace ordwell
