#include "WizardEntry.h"

#include <algorithm>
#include <vector>

#include "WizardTable.h"
#include "engine/AsciiText.h"
#include "engine/MacroLine.h"

namespace ordwell {

namespace {

// The fields of a row with the Browse kinds that follow from the command's
// argument kinds put in; a line that is no command browses for nothing.
constexpr std::array<WizardField, 3> Resolved(const CommandInfo* command, std::array<WizardField, 3> fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].browse == Browse::ByArgument) {
            fields[i].browse =
                command != nullptr ? BrowseForArgument(command->Param(static_cast<int>(i) + 1).kind) : Browse::None;
        }
    }
    return fields;
}

// clang-format off
const WizardEntry kEntries[] = {
    {.name = "Comment", .kind = WizardLineKind::Comment, .fields = Resolved(nullptr, {Field("Comment text:").Wide()})},
    {.name = "Label", .kind = WizardLineKind::Label, .fields = Resolved(nullptr, {Field("Label:")})},
#define ORDWELL_WIZARD_ROW(entryName, quotes, ...)                                                                      \
    {.name = #entryName, .kind = WizardLineKind::Command, .command = CommandId::k##entryName, .quoted = quotes,        \
     .fields = Resolved(&Command(CommandId::k##entryName), {__VA_ARGS__})},
    ORDWELL_WIZARD_COMMANDS(ORDWELL_WIZARD_ROW)
#undef ORDWELL_WIZARD_ROW
};
// clang-format on

bool LessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsciiUpper(x) < AsciiUpper(y); });
}

const std::vector<const WizardEntry*>& Sorted() {
    static const std::vector<const WizardEntry*> sorted = [] {
        std::vector<const WizardEntry*> entries;
        for (const WizardEntry& entry : kEntries) {
            entries.push_back(&entry);
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const WizardEntry* a, const WizardEntry* b) { return LessNoCase(a->name, b->name); });
        return entries;
    }();
    return sorted;
}

} // namespace

std::string_view WizardEntry::Help() const {
    switch (kind) {
    case WizardLineKind::Comment:
        return LineKindHelp(LineKind::Comment);
    case WizardLineKind::Label:
        return LineKindHelp(LineKind::Label);
    case WizardLineKind::Command:
        break;
    }
    return Command(command).help;
}

std::span<const WizardEntry* const> WizardEntries() {
    return Sorted();
}

const WizardEntry* FindWizardEntry(std::string_view name) {
    for (const WizardEntry& entry : kEntries) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

const WizardEntry* FindWizardEntryByPrefix(std::string_view prefix) {
    if (prefix.empty()) {
        return nullptr;
    }
    for (const WizardEntry* entry : Sorted()) {
        if (StartsWithIgnoringAsciiCase(entry->name, prefix)) {
            return entry;
        }
    }
    return nullptr;
}

} // namespace ordwell
