#include "LineTemplates.h"

#include <array>

namespace ordwell {

namespace {

constexpr LineTemplate Wizard(std::string_view command, std::string_view tooltip, std::string_view wizardLine) {
    return LineTemplate{command, tooltip, wizardLine, {}};
}

// The tooltips are the buttons' names as users have long known them; the
// wizard texts are what the wizard's prefix search turns into the command.
constexpr std::array<LineTemplate, 44> kTemplates = {{
    {"Beep", "Beep", {}, "Beep()"},
    Wizard("PlaySound", "Playsound", "PlaySound"),
    Wizard("SendKeys", "Send Keys Active", "SendKeys"),
    Wizard("DdeCommand", "DDE Command", "DdeCommand"),
    Wizard("DdeScript", "DDE Script", "DdeScript"),
    Wizard("MinimizeWindow", "Minimize", "MinimizeWindow"),
    Wizard("MaximizeWindow", "Maximize", "MaximizeWindow"),
    Wizard("NormalizeWindow", "Normalize", "NormalizeWindow"),
    Wizard("CloseWindow", "Close", "CloseWindow"),
    Wizard("ActivateWindow", "Activate Window", "ActivateWindow"),
    Wizard("Delay", "Delay", "Delay"),
    Wizard("MessageBox", "Message Box", "MessageBox"),
    Wizard("MessageBoxOkCancel", "Ok/Cancel Message Box", "MessageBoxOkCancel"),
    Wizard("RunProgram", "Run Program", "RunProgram"),
    Wizard("InputBox", "Input Box", "InputBox"),
    Wizard("GoTo", "Goto", "Goto"),
    Wizard("Logout", "Logout", "Logout"),
    Wizard("SetDirectory", "Set Directory", "SetDirectory"),
    Wizard("SetCaption", "Set Caption", "SetCaption"),
    Wizard("Repeat", "Repeat", "Repeat"),
    Wizard("QuitProgram", "Quit Program", "QuitProgram"),
    Wizard("RunMacro", "Run Macro", "RunMacro"),
    Wizard("PowerOff", "Power Off", "PowerOff"),
    Wizard("If", "If", "If"),
    Wizard("While", "While", "While"),
    Wizard("WriteToFile", "Write Text to File", "WriteToFile"),
    Wizard("LogError", "Log Error", "LogError"),
    Wizard("OnError", "On Error", "OnError"),
    Wizard("ExitMacro", "Exit Macro", "ExitMacro"),
    Wizard("FileExist", "File Exist", "FileExist"),
    Wizard("RebootSystem", "Reboot", "Reboot"),
    Wizard("ShutdownSystem", "Shutdown System", "ShutdownSystem"),
    // A bare name, not a label line (that begins with ":"): the Label entry.
    Wizard("Label", "Label", "Label"),
    Wizard("SendEnvironment", "Send Environment", "SendEnvironment"),
    Wizard("WindowActive", "Window Active", "WindowActive"),
    Wizard("FindWindow", "Find Window", "FindWindow"),
    Wizard("IfLessThan", "If Less Than", "IfLessThan"),
    Wizard("IfMoreThan", "If More Than", "IfMoreThan"),
    Wizard("LogSystem", "Log System Info", "LogSystem"),
    Wizard("LogToFile", "Log To File", "LogToFile"),
    Wizard("SendInputToWindow", "Send Input To Active", "SendInputToWindow"),
    Wizard("SendInput", "Send Input Specific", "SendInput"),
    Wizard("SendKeysToWindow", "Send Keys Specific", "SendKeysToWindow"),
    Wizard("SendNow", "Send Now", "SendNow"),
}};

} // namespace

std::span<const LineTemplate> LineTemplates() {
    return kTemplates;
}

const LineTemplate* FindLineTemplate(std::string_view command) {
    for (const LineTemplate& entry : kTemplates) {
        if (entry.command == command) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace ordwell
