#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/LineCheck.h"
#include "engine/MacroCheck.h"

namespace ordwell {

// What the check of a macro finds in each line of the editor, worked out when
// a line is first asked for and kept until the lines change: a change of one
// line can change others (a label that a GoTo names).
class LineFindings {
public:
    // `context` says what beyond the lines may be looked at (files, key
    // texts); the labels are those of the lines.
    explicit LineFindings(CheckContext context = {}) : m_context(std::move(context)) {}

    // The lines changed.
    void Invalidate();
    const std::vector<LineFinding>& At(const std::vector<std::string>& lines, std::size_t index);
    // The worst level found in the line; nothing when the line is clean.
    std::optional<FindingLevel> Worst(const std::vector<std::string>& lines, std::size_t index);
    // The findings of the line as text, one per line ("error: ..."); empty
    // when the line is clean.
    std::string Text(const std::vector<std::string>& lines, std::size_t index);
    // The index of the first line after `from` (wrapping around; from the
    // first line with nothing) that has a finding; nothing when none has.
    std::optional<std::size_t> Next(const std::vector<std::string>& lines, std::optional<std::size_t> from);

private:
    CheckContext m_context;
    std::optional<MacroLabels> m_labels;
    std::vector<std::optional<std::vector<LineFinding>>> m_lines;
};

} // namespace ordwell
