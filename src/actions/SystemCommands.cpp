// The system value commands: GetSystem and LogSystem, and the comparisons
// that run a command when two values compare as asked.
#include "SystemCommands.h"

#include <cstdint>
#include <optional>

#include "DecimalNumber.h"
#include "SystemValues.h"
#include "engine/CommandCall.h"
#include "engine/LogWriter.h"

namespace ordwell {

namespace {

enum class Relation { Less, More, Equal };

template <class T> bool Holds(Relation relation, const T& a, const T& b) {
    switch (relation) {
    case Relation::Less:
        return a < b;
    case Relation::More:
        return a > b;
    case Relation::Equal:
        return a == b;
    }
    return false;
}

// Whether A and B compare as asked. System figures make both operands
// numbers; otherwise text resources become their texts, and those compare by
// their leading numbers for less and more, and exactly for equality.
bool Compare(Engine& engine, Relation relation, std::string_view a, std::string_view b) {
    if (IsNumericResource(a) || IsNumericResource(b)) {
        return Holds(relation, ResourceNumericValue(engine, a), ResourceNumericValue(engine, b));
    }
    // Only a text resource needs a text of its own; others are read in place.
    std::string resourceA;
    std::string resourceB;
    std::string_view textA = a;
    std::string_view textB = b;
    if (IsTextResource(a)) {
        resourceA = ResourceText(engine, a);
        textA = resourceA;
    }
    if (IsTextResource(b)) {
        resourceB = ResourceText(engine, b);
        textB = resourceB;
    }
    if (relation == Relation::Equal) {
        return textA == textB;
    }
    return Holds(relation, ReadDecimalNumber(textA), ReadDecimalNumber(textB));
}

bool RunIf(CommandCall& call, Relation relation) {
    // Two plain whole numbers (a counter and a limit) are neither system
    // values nor anything but their numbers, and compare as those, equality
    // included.
    const std::optional<std::int32_t> a = call.PlainNumber(1);
    const std::optional<std::int32_t> b = call.PlainNumber(2);
    const bool holds =
        a && b ? Holds(relation, *a, *b) : Compare(call.GetEngine(), relation, call.Text(1), call.Text(2));
    if (!holds) {
        return true;
    }
    return call.RunNested(3);
}

bool IfLessThanCommand(CommandCall& call) {
    return RunIf(call, Relation::Less);
}

bool IfMoreThanCommand(CommandCall& call) {
    return RunIf(call, Relation::More);
}

bool IfEqualsCommand(CommandCall& call) {
    return RunIf(call, Relation::Equal);
}

bool GetSystemCommand(CommandCall& call) {
    if (!call.IsVariable(1)) {
        return false;
    }
    return call.Store(1, ResourceText(call.GetEngine(), call.Text(2)));
}

bool LogSystemCommand(CommandCall& call) {
    Engine& engine = call.GetEngine();
    return WriteLogLine(engine, call.Text(1), ResourceLogText(engine, call.Text(2)));
}

} // namespace

void BindSystemCommands(Engine& engine) {
    engine.Bind(CommandId::kGetSystem, GetSystemCommand);
    engine.Bind(CommandId::kLogSystem, LogSystemCommand);
    engine.Bind(CommandId::kIfLessThan, IfLessThanCommand);
    engine.Bind(CommandId::kIfMoreThan, IfMoreThanCommand);
    engine.Bind(CommandId::kIfEquals, IfEqualsCommand);
}

} // namespace ordwell
