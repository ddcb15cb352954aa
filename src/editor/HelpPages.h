#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// The help of the program, shipped inside it: one HTML page per help topic
// of the command list (commands that share a topic share a page), and pages
// of their own for the contents, the command reference, the line syntax,
// common tasks, the System Options and the help window itself. Pages link to each other by page
// names.

// The page of a help topic; the contents for a topic no command has (999).
std::string HelpPageForTopic(int topic);
// The page of a command, by its name (any letter case); the contents for a
// name that is no command.
std::string HelpPageForCommand(std::string_view name);

inline constexpr std::string_view kHelpContents = "contents";
inline constexpr std::string_view kHelpCommandReference = "commands";
inline constexpr std::string_view kHelpHowDoI = "howto";
inline constexpr std::string_view kHelpUsingHelp = "using";
// The System Options dialog.
inline constexpr std::string_view kHelpSystemOptions = "options";

// The HTML of a page; the contents for an unknown name.
std::string HelpPageHtml(std::string_view page);
// The page's title.
std::string HelpPageTitle(std::string_view page);

// Every page, for the help window's list: the general pages first, then one
// entry per command, sorted by name (commands that share a page share it).
struct HelpIndexEntry {
    std::string title;
    std::string page;
};
std::vector<HelpIndexEntry> HelpIndex();

// A line that shows the command at work, as a user would write it.
std::string_view HelpExample(std::string_view command);

} // namespace ordwell
