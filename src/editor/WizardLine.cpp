#include "WizardLine.h"

#include <algorithm>

#include "WizardEntry.h"
#include "engine/AsciiText.h"
#include "engine/CommandCatalogue.h"
#include "engine/MacroLine.h"

namespace ordwell {

namespace {

bool IsVariableReference(std::string_view value) {
    return value.size() == 2 && value[0] == '%';
}

// The parameter as the command reads it, from what it is in the command list.
std::string Normalised(const WizardEntry& entry, int n, std::string value) {
    const ArgSpec param = Command(entry.command).Param(n);
    if (param.kind == ArgKind::Variable && !value.empty() && value[0] != '%') {
        value.insert(value.begin(), '%');
    } else if (param.kind == ArgKind::Choice && std::ranges::equal(param.choices, kOnOff)) {
        std::transform(value.begin(), value.end(), value.begin(), AsciiUpper);
        if (value != "ON") {
            value = "OFF";
        }
    }
    return value;
}

} // namespace

std::string_view MatchRunStyle(std::string_view text) {
    if (text.empty()) {
        return kWizardRunStyles[0];
    }
    for (std::string_view style : kWizardRunStyles) {
        if (StartsWithIgnoringAsciiCase(style, text)) {
            return style;
        }
    }
    return {};
}

WizardFields EmptyWizardFields(const WizardEntry* entry) {
    WizardFields fields;
    fields.entry = entry;
    if (entry != nullptr && entry->fields[1].runStyle) {
        fields.params[1] = kWizardRunStyles[0];
    }
    return fields;
}

WizardFields ParseWizardLine(std::string_view line) {
    if (line.empty()) {
        return EmptyWizardFields(WizardEntries().front());
    }
    const CMacroLine parsed(line, false);
    WizardFields fields;
    if (parsed.IsComment()) {
        fields.entry = FindWizardEntry("Comment");
        fields.params[0] = line.substr(2);
        return fields;
    }
    if (parsed.IsLabel()) {
        fields.entry = FindWizardEntry("Label");
        fields.params[0] = line.substr(1);
        return fields;
    }
    fields.entry = FindWizardEntryByPrefix(parsed.CommandName());
    fields.negate = parsed.Negate();
    for (int n = 1; n <= 3; ++n) {
        fields.params[static_cast<size_t>(n - 1)] = parsed.Argument(n);
    }
    if (fields.entry != nullptr && fields.entry->fields[1].runStyle) {
        fields.params[1] = MatchRunStyle(fields.params[1]);
    }
    return fields;
}

bool WizardCanConfirm(const WizardFields& fields) {
    if (fields.entry == nullptr) {
        return false;
    }
    for (size_t i = 0; i < fields.params.size(); ++i) {
        if (fields.entry->fields[i].Required() && fields.params[i].empty()) {
            return false;
        }
    }
    return true;
}

std::string BuildWizardLine(const WizardFields& fields) {
    if (fields.entry == nullptr) {
        return {};
    }
    const WizardEntry& entry = *fields.entry;
    const std::string& first = fields.params[0];
    switch (entry.kind) {
    case WizardLineKind::Comment:
        return "//" + first;
    case WizardLineKind::Label:
        return first.starts_with(':') ? first : ":" + first;
    case WizardLineKind::Command:
        break;
    }
    std::string line = fields.negate ? "!" : "";
    line += entry.name;
    line += '(';
    for (int n = 1; n <= 3; ++n) {
        const std::string value = Normalised(entry, n, fields.params[static_cast<size_t>(n - 1)]);
        if (value.empty()) {
            continue;
        }
        if (n > 1) {
            line += ',';
        }
        if (entry.Quoted(n) && !IsVariableReference(value)) {
            line += '"' + value + '"';
        } else {
            line += value;
        }
    }
    line += ')';
    return line;
}

std::string EditedWizardLine(std::string_view original, std::string built) {
    if (built == BuildWizardLine(ParseWizardLine(original))) {
        return std::string(original);
    }
    if (ClassifyLine(original) != LineKind::Command || ClassifyLine(built) != LineKind::Command) {
        return built;
    }
    const size_t close = original.rfind(')');
    if (close != std::string_view::npos) {
        built += original.substr(close + 1);
    }
    return built;
}

} // namespace ordwell
