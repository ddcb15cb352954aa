#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ordwell {

class MacroDocument;
class Processes;

// The program External Editor starts when the setting "Editor" (section
// "System") names none: the desktop's own opener, which hands the macro, a
// text file, to the user's text editor.
inline constexpr std::string_view kDefaultEditor = "xdg-open";

// An answer to "File has been modified. Save changes?".
enum class SaveAnswer { Yes, No, Cancel };

// Makes sure the file on disk is what the user sees before another program
// opens it. A macro that was never saved goes through `saveFile` (Save As)
// and the answer is whether that saved it. A modified one asks first: Cancel
// stops, No goes on without saving, Yes saves and goes on (an editor on the
// older file is still better than none). Answers whether to go on.
bool SaveBeforeExternalEdit(const MacroDocument& document, const std::function<bool()>& saveFile,
                            const std::function<SaveAnswer()>& askToSave);

// A program to start and the parameter text to start it with.
struct EditorLaunch {
    std::string program;
    std::string parameters;
};

// How the editor program opens the file: the setting is a command line whose
// program is found as RunProgram finds one (a path with spaces needs no
// quotes), and any words after it stay; the file's path is added as one more
// word, quoted so that no character of it is read as shell syntax.
EditorLaunch ExternalEditorLaunch(std::string_view editorSetting, std::string_view path,
                                  const std::function<bool(std::string_view)>& isProgram);

// How starting the editor program ended.
enum class EditorStart { Started, NotFound, Failed };

// Starts the editor program (the setting, or xdg-open when it is empty) on
// the file, without waiting for it.
EditorStart StartExternalEditor(Processes& processes, std::string_view editorSetting, std::string_view path);

} // namespace ordwell
