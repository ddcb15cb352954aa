#pragma once

#include <span>
#include <string_view>

namespace ordwell {

// A command button of the toolbars: the line it puts into the macro. A
// button of a command without parameters inserts its finished line at once;
// every other one opens the Command Wizard on its text, which the wizard
// reads as a line of that command with no arguments (so "Reboot" chooses
// RebootSystem, the first command whose name begins with it).
struct LineTemplate {
    std::string_view command;    // the command the button stands for
    std::string_view tooltip;    // the button's short name
    std::string_view wizardLine; // what the wizard opens on; empty for a finished line
    std::string_view line;       // the finished line, for a button with no wizard

    bool OpensWizard() const { return !wizardLine.empty(); }
};

// Every command button, in no particular order.
std::span<const LineTemplate> LineTemplates();
// The button of a command (its exact name), or null.
const LineTemplate* FindLineTemplate(std::string_view command);

} // namespace ordwell
