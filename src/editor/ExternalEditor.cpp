#include "ExternalEditor.h"

#include "MacroDocument.h"
#include "actions/CommandLineSplit.h"
#include "platform/Processes.h"

namespace ordwell {

namespace {

// One word for a splitter that reads words as a shell does: in single
// quotes, a single quote written as '\''.
std::string QuotedWord(std::string_view text) {
    std::string word = "'";
    for (const char c : text) {
        if (c == '\'') {
            word += "'\\''";
        } else {
            word += c;
        }
    }
    word += '\'';
    return word;
}

} // namespace

bool SaveBeforeExternalEdit(const MacroDocument& document, const std::function<bool()>& saveFile,
                            const std::function<SaveAnswer()>& askToSave) {
    if (document.Path().empty()) {
        return saveFile();
    }
    if (!document.IsModified()) {
        return true;
    }
    switch (askToSave()) {
    case SaveAnswer::Cancel:
        return false;
    case SaveAnswer::Yes:
        saveFile();
        return true;
    case SaveAnswer::No:
        return true;
    }
    return false;
}

EditorLaunch ExternalEditorLaunch(std::string_view editorSetting, std::string_view path,
                                  const std::function<bool(std::string_view)>& isProgram) {
    const std::string_view setting =
        editorSetting.find_first_not_of(" \t") == std::string_view::npos ? kDefaultEditor : editorSetting;
    CommandLineParts parts = CommandLineSplit(setting, isProgram);
    EditorLaunch launch{std::move(parts.program), std::move(parts.parameters)};
    if (!launch.parameters.empty()) {
        launch.parameters += ' ';
    }
    launch.parameters += QuotedWord(path);
    return launch;
}

EditorStart StartExternalEditor(Processes& processes, std::string_view editorSetting, std::string_view path) {
    const auto isProgram = [&](std::string_view name) { return processes.IsProgram(name); };
    const EditorLaunch launch = ExternalEditorLaunch(editorSetting, path, isProgram);
    if (!processes.IsProgram(launch.program)) {
        return EditorStart::NotFound;
    }
    return processes.Launch(LaunchVerb::Open, launch.program, launch.parameters) != nullptr ? EditorStart::Started
                                                                                            : EditorStart::Failed;
}

} // namespace ordwell
