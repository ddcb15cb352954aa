#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace ordwell {

namespace {

bool IsSwitch(const std::string& word) {
    if (word.size() < 2) {
        return false;
    }
    if (word[0] == '-') {
        return true;
    }
    return word[0] == '/' && std::all_of(word.begin() + 1, word.end(),
                                         [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

// The desktop framework's own switches, which start with "/" or "-" and
// change nothing here. "R" is not the run switch.
bool IsFrameworkSwitch(std::string_view name) {
    constexpr std::array<std::string_view, 11> kNames = {"R",          "p",           "pt",       "dde",
                                                         "Embedding",  "Automation",  "Register", "Regserver",
                                                         "Unregister", "Unregserver", "nologo"};
    return std::find(kNames.begin(), kNames.end(), name) != kNames.end();
}

// A command line whose action ends the reading: the words after it count
// for nothing.
CommandLine Ending(CommandLine::Action action) {
    CommandLine line;
    line.action = action;
    return line;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& words) {
    CommandLine line;
    bool run = false;
    bool check = false;
    bool listWindows = false;
    bool record = false;
    bool switchesEnded = false;
    for (const std::string& word : words) {
        if (!switchesEnded && IsSwitch(word)) {
            if (word == "--") {
                switchesEnded = true;
            } else if (word == "/r" || word == "-r") {
                run = true;
                line.showSplash = false;
            } else if (word == "--help" || word == "-h") {
                return Ending(CommandLine::Action::Help);
            } else if (word == "--check") {
                check = true;
            } else if (word == "--list-windows") {
                listWindows = true;
            } else if (word == "--version") {
                return Ending(CommandLine::Action::Version);
            } else if (word == "--backends") {
                return Ending(CommandLine::Action::Backends);
            } else if (word == "--record") {
                record = true;
            } else if (word == "--hotkeys") {
                return Ending(CommandLine::Action::Hotkeys);
            } else if (word[0] == '-' && !IsFrameworkSwitch(std::string_view(word).substr(1))) {
                CommandLine refused = Ending(CommandLine::Action::Refused);
                refused.refusedOption = word;
                return refused;
            }
            continue;
        }
        if (line.fileName.empty()) {
            line.fileName = word;
        }
        line.fileNames.push_back(word);
    }
    if (check) {
        line.action = CommandLine::Action::Check;
        line.showSplash = false;
    } else if (record) {
        line.action = CommandLine::Action::Record;
        line.showSplash = false;
    } else if (listWindows) {
        line.action = CommandLine::Action::ListWindows;
        line.showSplash = false;
    } else if (run && !line.fileName.empty()) {
        line.action = CommandLine::Action::RunHeadless;
    }
    return line;
}

std::string UsageText() {
    return "Usage: ordwell [MACRO]\n"
           "       ordwell /r MACRO\n"
           "       ordwell -r MACRO\n"
           "       ordwell --check MACRO...\n"
           "       ordwell --list-windows [PATTERN]\n"
           "       ordwell --backends\n"
           "       ordwell --hotkeys\n"
           "       ordwell --record MACRO\n"
           "Without /r, opens the macro editor on the display, with the macro file\n"
           "MACRO (usually ending in .ow) when one is named; a file that does not exist\n"
           "yet is a new macro that Save writes there.\n"
           "\n"
           "With /r, runs MACRO without the editor and ends when the macro ends. With a\n"
           "display, message and input boxes are windows and a tray icon stops the run.\n"
           "Without one, boxes are shown on the terminal: answer an OK/Cancel box with ok\n"
           "or cancel (Enter means OK); end of input (Ctrl+D) answers Cancel. A display\n"
           "that does not answer within 5 seconds counts as none. Ctrl+C and SIGTERM\n"
           "stop the run, also when the display no longer answers. On Wayland, windows,\n"
           "keys and clicks need a compositor with the wlroots protocols; elsewhere only\n"
           "XWayland windows are reached, through X11, and the first such command says so.\n"
           "\n"
           "Options:\n"
           "  /r, -r MACRO   run MACRO without the editor (only a lower-case r)\n"
           "      --check MACRO...\n"
           "                 check each MACRO without running it: one line per finding,\n"
           "                 MACRO:LINE:COLUMN: error: (or warning:, note:) and why\n"
           "      --list-windows [PATTERN]\n"
           "                 list the windows a title pattern can find, topmost first, each\n"
           "                 title as macros match it and [its program]; with PATTERN, those\n"
           "                 it finds, the one the window commands use marked with *\n"
           "      --backends show which backends a run would use here (windows, keyboard,\n"
           "                 pointer, boxes, sound, session, DDE) and why, and those this\n"
           "                 build has, and exit\n"
           "      --hotkeys  stay resident with a tray icon and run each macro of the\n"
           "                 hotkey table (editor: Macro, Hotkeys) when its keys are\n"
           "                 pressed (X11 only)\n"
           "      --record MACRO\n"
           "                 record keys, clicks, pauses and window changes as macro lines\n"
           "                 until the stop key (Pause unless System Options set another)\n"
           "                 and add them to the end of MACRO, which is made when missing\n"
           "                 (X11 only)\n"
           "  --             what follows is a file name, even when it starts with -\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "Other words of / and letters (/R, /p, /dde) are switches of the desktop\n"
           "framework that macros once came from, and change nothing.\n"
           "\n"
           "Exit status: 0 when the macro ran to its end or was stopped (or the editor\n"
           "was closed), 1 when it ended on a failed line (see the error log, macerr.log\n"
           "by default), 2 when the macro file does not exist, or the editor has no\n"
           "display, or an option is unknown, 3 when the X display went away during the\n"
           "run. With --check: 0 when no line would fail (warnings alone do not count),\n"
           "1 when one would, 2 when a file cannot be read. With --list-windows: 0, or 1\n"
           "when PATTERN finds no window, 2 with no display. With --record: 0 when\n"
           "the lines were written, 1 when MACRO could not be written (the lines then go\n"
           "to standard output), 2 when nothing could be recorded.\n";
}

std::string RefusalText(const std::string& option) {
    return "ordwell: unknown option '" + option +
           "'\n"
           "Usage: ordwell [MACRO]\n"
           "       ordwell /r MACRO\n"
           "       ordwell --check MACRO...\n"
           "Try 'ordwell --help' for more.\n";
}

} // namespace ordwell
