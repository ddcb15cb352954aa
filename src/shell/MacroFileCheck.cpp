#include "MacroFileCheck.h"

#include "engine/MacroCheck.h"
#include "engine/MacroFile.h"
#include "input/KeyTextCheck.h"
#include "platform/PathMapping.h"

namespace ordwell {

int CheckMacroFiles(FileSystem& files, const PathMapping& paths, const std::vector<std::string>& names,
                    std::string& out, std::string& err) {
    CheckContext context;
    context.fileExists = [&](std::string_view file) {
        return LoadMacroFile(files, paths, file).status != MacroLoad::Missing;
    };
    context.keyText = CheckKeyText;
    int status = kCheckClean;
    for (const std::string& name : names) {
        const MacroFile file = LoadMacroFile(files, paths, name);
        if (file.status != MacroLoad::Loaded) {
            err += "ordwell: " +
                   (file.status == MacroLoad::Missing ? "the macro file " + paths.NativePath(name) + " does not exist"
                                                      : file.problem) +
                   "\n";
            status = kCheckUnreadable;
            continue;
        }
        for (const MacroFinding& finding : CheckMacro(file.text, context)) {
            out += FormatFinding(name, finding.line, finding.finding) + "\n";
            if (finding.finding.level == FindingLevel::Error && status == kCheckClean) {
                status = kCheckFailed;
            }
        }
    }
    return status;
}

} // namespace ordwell
