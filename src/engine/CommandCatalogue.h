#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "CommandList.h"

namespace ordwell {

// The argument counts a command accepts: an exact count, a choice of two
// neighbouring counts, a lowest count, or any count at all.
struct ArgCount {
    int min = 0;
    int max = 0;
    bool checked = true;

    constexpr bool Accepts(int count) const { return !checked || (count >= min && count <= max); }
};

constexpr ArgCount Exactly(int n) {
    return {n, n, true};
}
constexpr ArgCount OneOf(int a, int b) {
    return {a, b, true};
}
constexpr ArgCount AtLeast(int n) {
    return {n, std::numeric_limits<int>::max(), true};
}
constexpr ArgCount Unchecked() {
    return {0, std::numeric_limits<int>::max(), false};
}

// "1", "2 or 3", "2 or more", "any number".
std::string ArgCountText(const ArgCount& count);

enum class CommandKind { Condition, Action, Flow };

// What an argument of a command is. Commands read each kind through its own
// helper of CommandCall; the editor offers the matching way to fill it in.
enum class ArgKind : std::uint8_t {
    None,        // no such argument
    Text,        // any text
    Number,      // a whole number
    File,        // a file path as macros write them
    Directory,   // a directory path as macros write them
    WindowTitle, // a window title, or a pattern of one
    Variable,    // a variable the command writes: %A to %Z, never substituted
    Choice,      // one word of a fixed list, matched exactly
    Command,     // a command line run by this command
    Label,       // the name of a label line of the macro, with or without its ":"
    Keys,        // a text of the SendKeys language, typed by this command
};

struct ArgSpec {
    ArgKind kind = ArgKind::None;
    std::string_view role;                     // what the argument is, in a few words
    std::span<const std::string_view> choices; // the words of a Choice
};

// The words of the Choice arguments.
inline constexpr std::array<std::string_view, 4> kRunStyles = {"Normal", "Minimized", "Maximized", "Hidden"};
inline constexpr std::array<std::string_view, 2> kOnOff = {"ON", "OFF"};

namespace arg {
constexpr ArgSpec Text(std::string_view role) {
    return {ArgKind::Text, role, {}};
}
constexpr ArgSpec Number(std::string_view role) {
    return {ArgKind::Number, role, {}};
}
constexpr ArgSpec File(std::string_view role) {
    return {ArgKind::File, role, {}};
}
constexpr ArgSpec Directory(std::string_view role) {
    return {ArgKind::Directory, role, {}};
}
constexpr ArgSpec WindowTitle(std::string_view role) {
    return {ArgKind::WindowTitle, role, {}};
}
constexpr ArgSpec Variable(std::string_view role) {
    return {ArgKind::Variable, role, {}};
}
constexpr ArgSpec Choice(std::string_view role, std::span<const std::string_view> choices) {
    return {ArgKind::Choice, role, choices};
}
constexpr ArgSpec Command(std::string_view role) {
    return {ArgKind::Command, role, {}};
}
constexpr ArgSpec Label(std::string_view role) {
    return {ArgKind::Label, role, {}};
}
constexpr ArgSpec Keys(std::string_view role) {
    return {ArgKind::Keys, role, {}};
}
} // namespace arg

// The identifiers carry a "k" so that no command name meets a macro of the
// Win32 headers (MessageBox, CopyFile, FindWindow and more are macros there).
enum class CommandId : std::uint8_t {
#define ORDWELL_COMMAND_ID(name, ...) k##name,
    ORDWELL_COMMANDS(ORDWELL_COMMAND_ID)
#undef ORDWELL_COMMAND_ID
};

#define ORDWELL_COMMAND_COUNT(...) +1
constexpr int kCommandCount = 0 ORDWELL_COMMANDS(ORDWELL_COMMAND_COUNT);
#undef ORDWELL_COMMAND_COUNT

// What the command table holds about one command (see CommandList.h).
struct CommandInfo {
    static constexpr int kDescribedParams = 3;

    CommandId id{};
    std::string_view name;
    ArgCount count;
    CommandKind kind = CommandKind::Action;
    bool testable = false;
    int helpString = 0; // 0 for the two commands without a row
    int helpTopic = 0;  // 0 for the two commands without a row
    std::array<ArgSpec, kDescribedParams> params{};
    std::string_view help;
    std::string_view example; // a line that shows the command at work

    // Whether the command has a row in the command table (ResponseOk and
    // ResponseCancel have none: the editor shows no help for them).
    bool HasRow() const { return helpString != 0; }
    // What argument n (from 1) is; kind None beyond the described ones.
    ArgSpec Param(int n) const { return n >= 1 && n <= kDescribedParams ? params[n - 1] : ArgSpec{}; }
    // Whether argument n names a variable the command writes; such an
    // argument is never substituted.
    bool IsOutput(int n) const { return Param(n).kind == ArgKind::Variable; }
};

// The help topic of lines that name no command of the table.
constexpr int kNoHelpTopic = 999;

// All commands, in catalogue order.
std::span<const CommandInfo> Commands();
const CommandInfo& Command(CommandId id);
// Finds a command by name without regard to letter case.
const CommandInfo* FindCommand(std::string_view name);

} // namespace ordwell
