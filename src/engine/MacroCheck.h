#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "LineCheck.h"
#include "MacroText.h"

namespace ordwell {

// A finding of a macro, with its line number (from 1).
struct MacroFinding {
    int line = 0;
    LineFinding finding;
};

// The labels a macro defines, as GoTo finds them (letter case ignored).
class MacroLabels {
public:
    // Notes line `index` (from 0) of the macro; only label lines count.
    void Add(std::string_view line, std::size_t index);
    bool Has(std::string_view label) const;

private:
    std::unordered_set<std::string> m_folded;
};

// Checks line `index` (from 0) of a macro (see CheckLine); a line that is no
// command line there gives nothing.
std::vector<LineFinding> CheckMacroLine(std::string_view line, std::size_t index, const CheckContext& context);

// Checks every command line of a macro, without running any, in line order.
// Labels are those of the macro itself unless the context says otherwise.
std::vector<MacroFinding> CheckMacro(const MacroText& text, CheckContext context);

} // namespace ordwell
