// WriteToIniFile and GetFromIniFile: values in INI files. Neither reports the
// outcome: both answer TRUE, a failed write changes nothing and a failed read
// stores an empty text.
#include "IniCommands.h"

#include "IniFile.h"
#include "engine/CommandCall.h"
#include "engine/MacroPath.h"
#include "platform/FileSystem.h"

namespace ordwell {

namespace {

bool WriteToIniFile(CommandCall& call) {
    const auto entry = SplitIniEntry(call.Text(2));
    if (!entry || call.Text(1).empty()) {
        return true;
    }
    const std::string path = MapMacroPath(call.Text(1), call.GetEngine().GetSettings());
    const std::string& value = call.Text(3);
    // Read, change and write under the file's lock, so two macros writing the
    // same file at once both keep their value.
    call.GetPlatform().files->Update(
        path, kMaxIniFileBytes, [&](const std::string& content) -> std::optional<std::string> {
            IniFile document(content);
            if (!document.Set(entry->section, entry->item, value) || document.Text() == content) {
                return std::nullopt;
            }
            return document.Text();
        });
    return true;
}

bool GetFromIniFile(CommandCall& call) {
    std::string result;
    const auto entry = SplitIniEntry(call.Text(2));
    if (entry && !call.Text(1).empty()) {
        const std::string path = MapMacroPath(call.Text(1), call.GetEngine().GetSettings());
        std::string content;
        if (call.GetPlatform().files->ReadRegularFile(path, kMaxIniFileBytes, content) == FileRead::Ok) {
            // Values of any length are read whole.
            result = IniFile(std::move(content)).Get(entry->section, entry->item).value_or("");
        }
    }
    call.Store(3, result);
    return true;
}

} // namespace

std::optional<IniEntry> SplitIniEntry(std::string_view reference) {
    const size_t close = reference.find(']');
    if (close == std::string_view::npos || close == 0 || reference.front() != '[') {
        return std::nullopt;
    }
    return IniEntry{std::string(reference.substr(1, close - 1)), std::string(reference.substr(close + 1))};
}

void BindIniCommands(Engine& engine) {
    engine.Bind(CommandId::WriteToIniFile, WriteToIniFile);
    engine.Bind(CommandId::GetFromIniFile, GetFromIniFile);
}

} // namespace ordwell
