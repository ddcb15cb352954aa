#include "MacroFile.h"

#include "platform/FileSystem.h"
#include "platform/PathMapping.h"
#include "platform/Platform.h"

namespace ordwell {

MacroFile LoadMacroFile(const Platform& platform, std::string_view macroPath) {
    return LoadMacroFile(platform.files, platform.paths, macroPath);
}

MacroFile LoadMacroFile(FileSystem& files, const PathMapping& paths, std::string_view macroPath) {
    MacroFile file;
    const std::string path = paths.NativePath(macroPath);
    std::string content;
    switch (files.ReadRegularFile(path, kMaxMacroFileBytes, content)) {
    case FileRead::Ok:
        file.status = MacroLoad::Loaded;
        file.text = MacroText::FromFileText(std::move(content));
        return file;
    case FileRead::Missing:
        file.status = MacroLoad::Missing;
        return file;
    case FileRead::NotRegular:
        file.problem = "the macro file " + path + " is no regular file";
        break;
    case FileRead::TooLarge:
        file.problem =
            "the macro file " + path + " is larger than " + std::to_string(kMaxMacroFileBytes >> 20) + " MiB";
        break;
    case FileRead::Unreadable:
        file.problem = "the macro file " + path + " cannot be read";
        break;
    }
    file.status = MacroLoad::Unreadable;
    return file;
}

} // namespace ordwell
