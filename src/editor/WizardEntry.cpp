#include "WizardEntry.h"

#include <algorithm>
#include <vector>

#include "WizardTable.h"
#include "engine/AsciiText.h"
#include "engine/MacroLine.h"

namespace ordwell {

namespace {

// clang-format off
const WizardEntry kEntries[] = {
    {.name = "Comment", .kind = WizardLineKind::Comment, .fields = {Field("Comment text:").Wide()}},
    {.name = "Label", .kind = WizardLineKind::Label, .fields = {Field("Label:")}},
#define ORDWELL_WIZARD_ROW(entryName, quotes, ...)                                                                      \
    {.name = #entryName, .kind = WizardLineKind::Command, .command = CommandId::k##entryName, .quoted = quotes,        \
     .fields = {__VA_ARGS__}},
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
