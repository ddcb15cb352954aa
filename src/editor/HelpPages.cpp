#include "HelpPages.h"

#include <algorithm>
#include <vector>

#include "engine/CommandCatalogue.h"

namespace ordwell {

namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Link(std::string_view page, std::string_view text) {
    return "<a href=\"" + std::string(page) + "\">" + Escaped(text) + "</a>";
}

std::string TopicPage(int topic) {
    return "topic-" + std::to_string(topic);
}

std::string_view KindText(ArgKind kind) {
    switch (kind) {
    case ArgKind::None:
        break;
    case ArgKind::Text:
        return "text";
    case ArgKind::Number:
        return "a whole number";
    case ArgKind::File:
        return "a file: / or \\ separate folders, and a drive letter such as c:\\ stands for a folder (C: for /)";
    case ArgKind::Directory:
        return "a directory, written as a file is";
    case ArgKind::WindowTitle:
        return "the title of a window, or a pattern of one";
    case ArgKind::Variable:
        return "a variable, %A to %Z, that the command writes";
    case ArgKind::Choice:
        return "one of the words listed, written exactly";
    case ArgKind::Command:
        return "a command line, which this command runs";
    case ArgKind::Label:
        return "the name of a label line of this macro, with or without its colon";
    case ArgKind::Keys:
        return "keys to type: ~ is Enter, + Shift, ^ Ctrl, % Alt, {F1} and the like name keys";
    }
    return {};
}

std::string_view KindSentence(CommandKind kind) {
    switch (kind) {
    case CommandKind::Condition:
        return "A condition: the line is TRUE when the test holds. Use it inside If, While or the date and time "
               "tests.";
    case CommandKind::Action:
        return "An action: the line is TRUE when the action worked, FALSE when it failed; a failure does not stop "
               "the macro.";
    case CommandKind::Flow:
        return "Flow control: it decides which lines run next.";
    }
    return {};
}

std::string Page(std::string_view title, const std::string& body) {
    return "<html><head><title>" + Escaped(title) + "</title></head><body><h2>" + Escaped(title) + "</h2>" + body +
           "<hr><p>" + Link(kHelpContents, "Contents") + " &middot; " + Link(kHelpCommandReference, "Commands") +
           " &middot; " + Link(kHelpHowDoI, "How do I...") + "</p></body></html>";
}

// One command's part of a page; `heading` when the page has more than one.
std::string CommandSection(const CommandInfo& info, bool heading) {
    std::string syntax = std::string(info.name) + "(";
    int described = 0;
    for (int n = 1; n <= CommandInfo::kDescribedParams; ++n) {
        if (info.Param(n).kind != ArgKind::None) {
            described = n;
        }
    }
    for (int n = 1; n <= described; ++n) {
        syntax += (n > 1 ? ", " : "") + std::string(info.Param(n).role);
    }
    syntax += ")";

    std::string body = heading ? "<h3>" + Escaped(info.name) + "</h3>" : std::string();
    body += "<p>" + Escaped(info.help) + "</p>";
    body += "<p><b>Syntax:</b> <code>" + Escaped(syntax) + "</code></p>";
    if (described > 0) {
        body += "<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">";
        for (int n = 1; n <= described; ++n) {
            const ArgSpec param = info.Param(n);
            std::string what(KindText(param.kind));
            if (param.kind == ArgKind::Choice) {
                what += ": ";
                for (size_t i = 0; i < param.choices.size(); ++i) {
                    what += (i > 0 ? ", " : "") + std::string(param.choices[i]);
                }
            }
            const bool optional = info.count.checked && n > info.count.min;
            body += "<tr><td>" + std::to_string(n) + "</td><td>" + Escaped(param.role) +
                    (optional ? " (optional)" : "") + "</td><td>" + Escaped(what) + "</td></tr>";
        }
        body += "</table>";
    }
    body += "<p>Arguments: " + ArgCountText(info.count) + ". " + Escaped(KindSentence(info.kind)) + "</p>";
    body += std::string("<p>Test Line: ") +
            (info.testable ? "can run a line of it alone." : "does not run it alone; run the macro instead.") + "</p>";
    body += "<p><b>Example:</b> <code>" + Escaped(HelpExample(info.name)) + "</code></p>";
    return body;
}

std::string ContentsPage() {
    std::string body =
        "<p>Ordwell runs macros: plain text files of one command per line that type keys, click, find and "
        "arrange windows, start programs, work with files, the registry and INI files, and show messages. The "
        "editor builds each line for you with the Command Wizard, explains the selected line in its Help box, "
        "and runs the whole macro or a single line.</p><ul>";
    body += "<li>" + Link("syntax", "Macro lines and variables") + "</li>";
    body += "<li>" + Link(kHelpHowDoI, "How do I...") + "</li>";
    body += "<li>" + Link(kHelpCommandReference, "Command reference") + "</li>";
    body += "<li>" + Link(kHelpSystemOptions, "System Options") + "</li>";
    body += "<li>" + Link(kHelpUsingHelp, "Using Help") + "</li></ul>";
    return Page("Ordwell Help", body);
}

std::string SyntaxPage() {
    const std::string body =
        "<p>A macro holds one line per command, such as <code>MessageBox(\"Hello\")</code>. A line is one of "
        "four kinds:</p><ul>"
        "<li><b>Command:</b> a command name, then its arguments in parentheses, separated by commas. "
        "<code>Beep</code> and <code>Beep()</code> are the same line.</li>"
        "<li><b>Comment:</b> a line that starts with <code>//</code> or <code>*</code>; it does not run.</li>"
        "<li><b>Label:</b> a line that starts with <code>:</code>, such as <code>:Again</code>; "
        "<code>GoTo(Again)</code> goes on there.</li>"
        "<li><b>Blank:</b> an empty line.</li></ul>"
        "<p>An argument in double quotes is taken as written: <code>\"a, b\"</code> is one argument. There is no "
        "escape character. An argument may be a whole command line, as in "
        "<code>If(FileExist(\"/tmp/x\"),Beep(),DoNothing())</code>.</p>"
        "<p><b>Variables:</b> %A to %Z hold text. An argument that is just a variable, without quotes, stands "
        "for its value: <code>MessageBox(%A)</code>. Commands that store a value take the variable where they "
        "write it: <code>InputBox(\"Name?\",%N)</code>. Variables keep their values between runs until the "
        "program ends.</p>"
        "<p><b>Results:</b> every line is TRUE or FALSE. <code>If</code>, <code>While</code> and the comparisons "
        "test them; a <code>!</code> before a command name turns its result around. A failure of the outside "
        "world (a missing file, no such window) only makes the line FALSE. A line with the wrong number of "
        "arguments, or an unknown command, stops the macro with \"Error at line\", unless <code>OnError</code> "
        "names a label to go on at.</p>";
    return Page("Macro lines and variables", body);
}

std::string HowDoIPage() {
    const std::string body =
        "<dl>"
        "<dt><b>Add a line</b></dt><dd>Edit, Add Line (Ctrl+A) opens the Command Wizard. Choose the command, "
        "fill in its fields (Browse... picks a file, a folder, a window or a system value), then OK. The line "
        "goes below the selected one.</dd>"
        "<dt><b>Add a line from a toolbar</b></dt><dd>View, the toolbar commands show the toolbars of macro "
        "commands. A button opens the Command Wizard on its command (Beep inserts its line at once); the line "
        "goes before the selected one, or at the top.</dd>"
        "<dt><b>Change a line</b></dt><dd>Double-click it, or Edit Line (Ctrl+E). Manual Edit (Ctrl+Enter) "
        "lets you type the line yourself.</dd>"
        "<dt><b>Build a command inside a command</b></dt><dd>In the wizard for If, While or Repeat, the Browse... "
        "button beside a command field opens a wizard of its own for that command.</dd>"
        "<dt><b>Try a line</b></dt><dd>Select it and press Test Line (Ctrl+T). Lines that type keys or end the "
        "macro cannot be tested alone.</dd>"
        "<dt><b>Run or stop the macro</b></dt><dd>Run (Ctrl+R). While it runs the button reads Stop; Stop, the "
        "icon in the notification area, the stop key (Pause unless System Options names another), or closing "
        "the window ends the run after its current line.</dd>"
        "<dt><b>See the variables</b></dt><dd>Macro, Dump Variables (Ctrl+Shift+D) shows %A to %Z as the last "
        "run left them.</dd>"
        "<dt><b>Turn a line off for a while</b></dt><dd>Comment (Ctrl+M) puts <code>//</code> in front of it; "
        "press it again to turn it back on.</dd>"
        "<dt><b>Edit the file as text</b></dt><dd>Edit, External Editor (Ctrl+Shift+E) opens the file in your "
        "text editor (the setting Editor, section System; xdg-open by default). When you come back, Ordwell "
        "offers to load the changes.</dd>"
        "<dt><b>Print a macro</b></dt><dd>File, Print (Ctrl+P) prints it, or saves it as a PDF file; Print "
        "Preview shows the pages first, and Print Setup chooses the paper. Each page has the file's name at the "
        "top and its number at the bottom; long lines go on in the next row.</dd>"
        "<dt><b>Change the key delay, the editor or the log files</b></dt><dd>View, " +
        Link(kHelpSystemOptions, "System Options") +
        ".</dd>"
        "<dt><b>Run a macro without the editor</b></dt><dd><code>ordwell /r macro.ow</code></dd>"
        "</dl>";
    return Page("How do I...", body);
}

std::string UsingHelpPage() {
    const std::string body =
        "<p>F1 opens the page of the selected line's command, or of the command chosen in the Command Wizard. "
        "The list on the left holds every page; type into the field above it to find a command by name. Links "
        "move between pages, and Back returns to the page before.</p>";
    return Page("Using Help", body);
}

std::string SystemOptionsPage() {
    const std::string body =
        "<p>View, System Options changes settings that runs and the editor read each time they need them, so a "
        "change counts from the next use on, in a running macro too.</p><dl>"
        "<dt><b>Send key delay</b></dt><dd>Milliseconds SendKeys and the other send commands wait after each key "
        "or group, from 0 (no pause) to 999. Some programs lose keys that come too fast.</dd>"
        "<dt><b>Stop key</b></dt><dd>The key that stops a running macro from anywhere on an X11 desktop, "
        "whatever window has the focus, as the run icon does: one key as SendKeys writes it, with + (Shift), ^ "
        "(Ctrl) or % (Alt) before it, such as <code>{PAUSE}</code> (the default), <code>{SCROLL}</code> or "
        "<code>^%{F12}</code>; <code>none</code> for no stop key. A macro that types the key itself is not "
        "stopped by it. On a terminal and on Wayland there is no stop key.</dd>"
        "<dt><b>Macro editor</b></dt><dd>The program External Editor opens the macro file in, as a command line "
        "(<code>gedit</code>, <code>emacsclient -c</code>, or a path); the file is added as its last word. "
        "<code>xdg-open</code> hands the file to the desktop's text editor.</dd>"
        "<dt><b>Print line numbers</b></dt><dd>Printed lines begin with their four-digit number.</dd>"
        "<dt><b>Event Log</b>, <b>Error Log</b></dt><dd>The files LogEvent and failed lines write to. A name "
        "without a folder is a file in the current directory of the run.</dd></dl>"
        "<p>Names take at most 254 characters. Cancel leaves every setting as it was.</p>";
    return Page("System Options", body);
}

std::string CommandReferencePage() {
    std::vector<const CommandInfo*> commands;
    for (const CommandInfo& info : Commands()) {
        commands.push_back(&info);
    }
    std::sort(commands.begin(), commands.end(),
              [](const CommandInfo* a, const CommandInfo* b) { return a->name < b->name; });
    std::string body;
    const std::pair<CommandKind, std::string_view> groups[] = {
        {CommandKind::Flow, "Flow control"}, {CommandKind::Condition, "Conditions"}, {CommandKind::Action, "Actions"}};
    for (const auto& [kind, heading] : groups) {
        body += "<h3>" + std::string(heading) + "</h3><table cellspacing=\"0\" cellpadding=\"2\">";
        for (const CommandInfo* info : commands) {
            if (info->kind == kind) {
                const std::string page =
                    info->HasRow() ? TopicPage(info->helpTopic) : "command-" + std::string(info->name);
                body += "<tr><td>" + Link(page, info->name) + "</td><td>" + Escaped(info->help) + "</td></tr>";
            }
        }
        body += "</table>";
    }
    return Page("Command reference", body);
}

// The commands a page describes: those of its topic, or the one named.
std::vector<const CommandInfo*> CommandsOfPage(std::string_view page) {
    std::vector<const CommandInfo*> found;
    if (page.starts_with("topic-")) {
        const std::string number(page.substr(6));
        for (const CommandInfo& info : Commands()) {
            if (info.HasRow() && std::to_string(info.helpTopic) == number) {
                found.push_back(&info);
            }
        }
    } else if (page.starts_with("command-")) {
        if (const CommandInfo* info = FindCommand(page.substr(8))) {
            found.push_back(info);
        }
    }
    return found;
}

} // namespace

std::string_view HelpExample(std::string_view command) {
    const CommandInfo* info = FindCommand(command);
    return info != nullptr ? info->example : std::string_view();
}

std::vector<HelpIndexEntry> HelpIndex() {
    std::vector<HelpIndexEntry> index;
    for (const std::string_view page : {kHelpContents, std::string_view("syntax"), kHelpHowDoI, kHelpCommandReference,
                                        kHelpSystemOptions, kHelpUsingHelp}) {
        index.push_back({HelpPageTitle(page), std::string(page)});
    }
    std::vector<const CommandInfo*> commands;
    for (const CommandInfo& info : Commands()) {
        commands.push_back(&info);
    }
    std::sort(commands.begin(), commands.end(),
              [](const CommandInfo* a, const CommandInfo* b) { return a->name < b->name; });
    for (const CommandInfo* info : commands) {
        index.push_back({std::string(info->name), HelpPageForCommand(info->name)});
    }
    return index;
}

std::string HelpPageForTopic(int topic) {
    return CommandsOfPage(TopicPage(topic)).empty() ? std::string(kHelpContents) : TopicPage(topic);
}

std::string HelpPageForCommand(std::string_view name) {
    const CommandInfo* info = FindCommand(name);
    if (info == nullptr) {
        return std::string(kHelpContents);
    }
    return info->HasRow() ? TopicPage(info->helpTopic) : "command-" + std::string(info->name);
}

std::string HelpPageTitle(std::string_view page) {
    if (page == kHelpCommandReference) {
        return "Command reference";
    }
    if (page == kHelpHowDoI) {
        return "How do I...";
    }
    if (page == kHelpUsingHelp) {
        return "Using Help";
    }
    if (page == "syntax") {
        return "Macro lines and variables";
    }
    if (page == kHelpSystemOptions) {
        return "System Options";
    }
    const auto commands = CommandsOfPage(page);
    if (commands.empty()) {
        return "Ordwell Help";
    }
    std::string title;
    for (const CommandInfo* info : commands) {
        title += (title.empty() ? "" : ", ") + std::string(info->name);
    }
    return title;
}

std::string HelpPageHtml(std::string_view page) {
    if (page == kHelpCommandReference) {
        return CommandReferencePage();
    }
    if (page == kHelpHowDoI) {
        return HowDoIPage();
    }
    if (page == kHelpUsingHelp) {
        return UsingHelpPage();
    }
    if (page == "syntax") {
        return SyntaxPage();
    }
    if (page == kHelpSystemOptions) {
        return SystemOptionsPage();
    }
    const auto commands = CommandsOfPage(page);
    if (commands.empty()) {
        return ContentsPage();
    }
    std::string body;
    for (const CommandInfo* info : commands) {
        body += CommandSection(*info, commands.size() > 1);
    }
    return Page(HelpPageTitle(page), body);
}

} // namespace ordwell
