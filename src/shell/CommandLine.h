#pragma once

#include <string>
#include <vector>

namespace ordwell {

// What the program was asked to do.
struct CommandLine {
    enum class Action {
        Edit,        // open the editor, with the file if one was named
        RunHeadless, // run the file with no editor and end
        Help,
        Version,
        Refused,     // an option the program does not know: say so, with the usage
        Check,       // check the macro files named, run nothing
        ListWindows, // list the windows a title pattern can find (fileName: the pattern)
        Backends,    // say which backends a run would use here, and why
        Hotkeys,     // stay resident and run macros by their hotkeys
        Record,      // record the user's input into the file (fileName) until the stop key
    };
    Action action = Action::Edit;
    std::string fileName;               // the first word that is no switch
    std::vector<std::string> fileNames; // every word that is no switch, in order
    // The editor shows its splash window: not after a run switch ("/r" with
    // no file name opens the editor without it).
    bool showSplash = true;
    std::string refusedOption; // with Action::Refused
};

// Reads the words after the program name.
//
// Switches start with "-", or with "/" followed by letters only ("/r", "/R",
// "/p"), so that an absolute path such as "/home/ann/backup.ow" is a file
// name. "--" ends the switches. The run switch is "/r" or "-r", compared
// exactly: "/R" is not it, and opens the file in the editor. The run switch
// counts only with a file name; "/r" alone opens the editor. The switches
// of the desktop framework that macros once came from (such as "/p" or
// "/dde") and any other word of "/" and letters are ignored, as they always
// were; a word starting with "-" that is no option of ours is refused.
// "--check" checks every file named instead of running or editing one;
// "--list-windows" lists windows, those the first other word finds when
// there is one; "--backends" says which backends a run would use;
// "--hotkeys" stays resident for the hotkeys; "--record" records into the
// first other word.
CommandLine ParseCommandLine(const std::vector<std::string>& words);

// The text of --help.
std::string UsageText();

// What an unknown option prints on standard error: what was wrong and how to
// ask for the options.
std::string RefusalText(const std::string& option);

} // namespace ordwell
