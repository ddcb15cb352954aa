#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ordwell {

struct WizardEntry;

// What the Command Wizard's controls hold: the chosen entry and the three
// parameter texts (for RunProgram and Print the second is the run style, one
// of kWizardRunStyles or empty).
struct WizardFields {
    const WizardEntry* entry = nullptr; // none: the line's command is not in the list
    std::array<std::string, 3> params;
    // The line's command was written with a leading "!": the built line keeps
    // it, so that editing a negated test does not turn it around.
    bool negate = false;
};

// Splits a line into the wizard's fields, as written (no variable is
// substituted): a comment gives Comment and its text after the first two
// characters, a label gives Label and its name, and a command line gives the
// first entry whose name begins with the command name (ignoring case) and its
// first three arguments. An empty line gives the first entry of the list.
WizardFields ParseWizardLine(std::string_view line);

// The fields for a newly chosen entry: all empty, and the run style Normal
// where there is one.
WizardFields EmptyWizardFields(const WizardEntry* entry);

// The run style of the list that begins with the text, ignoring case; Normal
// for an empty text, and empty when none does.
std::string_view MatchRunStyle(std::string_view text);

// Whether OK may build a line: an entry is chosen and every field it requires
// holds text.
bool WizardCanConfirm(const WizardFields& fields);

// The line the fields make. A field of a variable the command writes gets
// "%" in front of it unless it starts with one; an ON/OFF choice becomes ON
// or OFF. Then, for a command, its name, "(", the non-empty parameters
// separated by ",", and ")"; a parameter of the entry's quoted set is written
// in double quotes unless it is a variable reference (two characters, the
// first "%"). Nothing else is escaped: a double quote in a value is written
// as it is.
std::string BuildWizardLine(const WizardFields& fields);

// The line Edit Line leaves after the wizard built `built` from `original`:
// the original byte for byte when the wizard's fields were not changed (the
// wizard shows only part of a line: not its spacing, quoting or a comment
// after it), else the built line, followed by what stood after the last ")"
// of the original command line (a trailing comment), which no run reads.
std::string EditedWizardLine(std::string_view original, std::string built);

} // namespace ordwell
