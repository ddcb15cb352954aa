#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
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

enum class CommandKind { Condition, Action, Flow };

// Output positions as a bit set: bit n-1 stands for argument n.
using OutputPositions = std::uint32_t;
constexpr OutputPositions kNoOutputs = 0;
constexpr OutputPositions kAllOutputs = ~OutputPositions{0};
constexpr OutputPositions Out(int position) {
    return OutputPositions{1} << (position - 1);
}

enum class CommandId : std::uint8_t {
#define ORDWELL_COMMAND_ID(name, ...) name,
    ORDWELL_COMMANDS(ORDWELL_COMMAND_ID)
#undef ORDWELL_COMMAND_ID
};

#define ORDWELL_COMMAND_COUNT(...) +1
constexpr int kCommandCount = 0 ORDWELL_COMMANDS(ORDWELL_COMMAND_COUNT);
#undef ORDWELL_COMMAND_COUNT

// What the command table holds about one command.
struct CommandInfo {
    CommandId id;
    std::string_view name;
    ArgCount args;
    CommandKind kind;
    bool testable;
    int helpString; // string resource of the help text; 0 for the two commands without a row
    int helpTopic;  // help context; 0 for the two commands without a row
    OutputPositions outputs;
    std::string_view roles; // argument roles in order, separated by '|'
    std::string_view help;

    // Whether the command has a row in the command table (ResponseOk and
    // ResponseCancel have none: the editor shows no help for them).
    bool HasRow() const { return helpString != 0; }
    bool IsOutput(int position) const { return position >= 1 && position <= 32 && (outputs & Out(position)) != 0; }
};

// The help topic of lines that name no command of the table.
constexpr int kNoHelpTopic = 999;

// All commands, in catalogue order.
std::span<const CommandInfo> Commands();
const CommandInfo& Command(CommandId id);
// Finds a command by name without regard to letter case.
const CommandInfo* FindCommand(std::string_view name);

} // namespace ordwell
