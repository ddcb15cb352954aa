// WriteToIniFile and GetFromIniFile: values in INI files. A write answers
// whether the value is in the file afterwards; a read always answers TRUE, and
// one that finds nothing stores an empty text.
#include "IniCommands.h"

#include "IniFile.h"
#include "engine/CommandCall.h"
#include "platform/FileSystem.h"

namespace ordwell {

namespace {

bool WriteToIniFileCommand(CommandCall& call) {
    const auto entry = SplitIniEntry(call.Text(2));
    if (!entry || call.Text(1).empty()) {
        return false;
    }
    const std::string path = call.Path(1);
    const std::string_view value = call.Text(3);
    // Read, change and write under the file's lock, so two macros writing the
    // same file at once both keep their value.
    bool refused = false;
    const bool updated = call.GetPlatform().files.Update(path, kMaxIniFileBytes,
                                                         [&](const std::string& content) -> std::optional<std::string> {
                                                             IniFile document(content);
                                                             if (!document.Set(entry->section, entry->item, value)) {
                                                                 refused = true;
                                                                 return std::nullopt;
                                                             }
                                                             if (document.Text() == content) {
                                                                 return std::nullopt;
                                                             }
                                                             return document.Text();
                                                         });
    return updated && !refused;
}

bool GetFromIniFileCommand(CommandCall& call) {
    std::string result;
    const auto entry = SplitIniEntry(call.Text(2));
    if (entry && !call.Text(1).empty()) {
        const std::string path = call.Path(1);
        std::string content;
        if (call.GetPlatform().files.ReadRegularFile(path, kMaxIniFileBytes, content) == FileRead::Ok) {
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
    engine.Bind(CommandId::kWriteToIniFile, WriteToIniFileCommand);
    engine.Bind(CommandId::kGetFromIniFile, GetFromIniFileCommand);
}

} // namespace ordwell
