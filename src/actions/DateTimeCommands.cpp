// The date and time commands: fetching the current date and time into a
// variable, and comparing dates and times given as text.
#include "DateTimeCommands.h"

#include <array>
#include <cstdint>
#include <optional>

#include "DateTime.h"
#include "engine/CommandCall.h"
#include "platform/Clock.h"

namespace ordwell {

namespace {

using Parse = std::optional<std::int64_t> (*)(std::string_view, std::int64_t);

std::int64_t Now(const CommandCall& call) {
    return call.GetPlatform().clock.Now();
}

// The operands as points in time, parsed in argument order against one
// "now". A comparison with a text the local calendar cannot place is FALSE.
template <int N> std::optional<std::array<std::int64_t, N>> Points(const CommandCall& call, Parse parse) {
    const std::int64_t now = Now(call);
    std::array<std::int64_t, N> points{};
    for (int i = 0; i < N; ++i) {
        const std::optional<std::int64_t> point = parse(call.Text(i + 1), now);
        if (!point) {
            return std::nullopt;
        }
        points[static_cast<size_t>(i)] = *point;
    }
    return points;
}

bool Before(CommandCall& call, Parse parse) {
    const auto p = Points<2>(call, parse);
    return p && (*p)[0] < (*p)[1];
}

bool After(CommandCall& call, Parse parse) {
    const auto p = Points<2>(call, parse);
    return p && (*p)[0] > (*p)[1];
}

bool Equal(CommandCall& call, Parse parse) {
    const auto p = Points<2>(call, parse);
    return p && (*p)[0] == (*p)[1];
}

// Both ends are outside the range.
bool Between(CommandCall& call, Parse parse) {
    const auto p = Points<3>(call, parse);
    return p && (*p)[0] > (*p)[1] && (*p)[0] < (*p)[2];
}

bool GetDateCommand(CommandCall& call) {
    call.Store(1, FormatLocalTime(Now(call), "%m/%d/%y"));
    return true;
}

bool GetTimeCommand(CommandCall& call) {
    call.Store(1, FormatLocalTime(Now(call), "%H:%M:%S"));
    return true;
}

bool GetDateTimeCommand(CommandCall& call) {
    call.Store(1, FormatLocalTime(Now(call), call.Text(2)));
    return true;
}

bool IsDateBeforeCommand(CommandCall& call) {
    return Before(call, ParseMacroDate);
}
bool IsDateAfterCommand(CommandCall& call) {
    return After(call, ParseMacroDate);
}
bool IsDateEqualCommand(CommandCall& call) {
    return Equal(call, ParseMacroDate);
}
bool IsDateBetweenCommand(CommandCall& call) {
    return Between(call, ParseMacroDate);
}
bool IsTimeBeforeCommand(CommandCall& call) {
    return Before(call, ParseMacroTime);
}
bool IsTimeAfterCommand(CommandCall& call) {
    return After(call, ParseMacroTime);
}
bool IsTimeEqualCommand(CommandCall& call) {
    return Equal(call, ParseMacroTime);
}
bool IsTimeBetweenCommand(CommandCall& call) {
    return Between(call, ParseMacroTime);
}

} // namespace

void BindDateTimeCommands(Engine& engine) {
    engine.Bind(CommandId::kGetDate, GetDateCommand);
    engine.Bind(CommandId::kGetTime, GetTimeCommand);
    engine.Bind(CommandId::kGetDateTime, GetDateTimeCommand);
    engine.Bind(CommandId::kIsDateBefore, IsDateBeforeCommand);
    engine.Bind(CommandId::kIsDateAfter, IsDateAfterCommand);
    engine.Bind(CommandId::kIsDateEqual, IsDateEqualCommand);
    engine.Bind(CommandId::kIsDateBetween, IsDateBetweenCommand);
    engine.Bind(CommandId::kIsTimeBefore, IsTimeBeforeCommand);
    engine.Bind(CommandId::kIsTimeAfter, IsTimeAfterCommand);
    engine.Bind(CommandId::kIsTimeEqual, IsTimeEqualCommand);
    engine.Bind(CommandId::kIsTimeBetween, IsTimeBetweenCommand);
}

} // namespace ordwell
