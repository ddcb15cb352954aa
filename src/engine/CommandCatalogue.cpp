#include "CommandCatalogue.h"

#include <algorithm>
#include <array>

#include "AsciiText.h"

namespace ordwell {

namespace {

constexpr std::array<CommandInfo, kCommandCount> kCommands = {{
#define ORDWELL_COMMAND_ROW(command, ...) {.id = CommandId::k##command, .name = #command, __VA_ARGS__},
    ORDWELL_COMMANDS(ORDWELL_COMMAND_ROW)
#undef ORDWELL_COMMAND_ROW
}};

// Letter case is folded for ASCII letters only: command names are ASCII.
unsigned char Upper(char c) {
    return static_cast<unsigned char>(AsciiUpper(c));
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = Upper(a[i]);
        const unsigned char cb = Upper(b[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The names sorted without regard to case, for a binary search.
const std::array<const CommandInfo*, kCommandCount>& SortedByName() {
    static const auto sorted = [] {
        std::array<const CommandInfo*, kCommandCount> s{};
        for (int i = 0; i < kCommandCount; ++i) {
            s[static_cast<size_t>(i)] = &kCommands[static_cast<size_t>(i)];
        }
        std::sort(s.begin(), s.end(),
                  [](const CommandInfo* a, const CommandInfo* b) { return CompareNoCase(a->name, b->name) < 0; });
        return s;
    }();
    return sorted;
}

} // namespace

std::string ArgCountText(const ArgCount& count) {
    if (!count.checked) {
        return "any number";
    }
    if (count.min == count.max) {
        return std::to_string(count.min);
    }
    if (count.max == AtLeast(0).max) {
        return std::to_string(count.min) + " or more";
    }
    return std::to_string(count.min) + " or " + std::to_string(count.max);
}

std::span<const CommandInfo> Commands() {
    return kCommands;
}

const CommandInfo& Command(CommandId id) {
    return kCommands[static_cast<size_t>(id)];
}

const CommandInfo* FindCommand(std::string_view name) {
    const auto& sorted = SortedByName();
    const auto it =
        std::lower_bound(sorted.begin(), sorted.end(), name,
                         [](const CommandInfo* info, std::string_view n) { return CompareNoCase(info->name, n) < 0; });
    if (it != sorted.end() && CompareNoCase((*it)->name, name) == 0) {
        return *it;
    }
    return nullptr;
}

} // namespace ordwell
