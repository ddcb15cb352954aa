#include "LineFindings.h"

namespace ordwell {

void LineFindings::Invalidate() {
    m_labels.reset();
    m_lines.clear();
}

const std::vector<LineFinding>& LineFindings::At(const std::vector<std::string>& lines, std::size_t index) {
    if (!m_labels) {
        m_labels.emplace();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            m_labels->Add(lines[i], i);
        }
        m_lines.assign(lines.size(), std::nullopt);
    }
    if (index >= m_lines.size()) {
        static const std::vector<LineFinding> none;
        return none;
    }
    std::optional<std::vector<LineFinding>>& found = m_lines[index];
    if (!found) {
        CheckContext context = m_context;
        const MacroLabels& labels = *m_labels;
        context.hasLabel = [&labels](std::string_view label) { return labels.Has(label); };
        found = CheckMacroLine(lines[index], index, context);
    }
    return *found;
}

std::optional<FindingLevel> LineFindings::Worst(const std::vector<std::string>& lines, std::size_t index) {
    std::optional<FindingLevel> worst;
    for (const LineFinding& finding : At(lines, index)) {
        if (!worst || finding.level < *worst) {
            worst = finding.level;
        }
    }
    return worst;
}

std::string LineFindings::Text(const std::vector<std::string>& lines, std::size_t index) {
    std::string text;
    for (const LineFinding& finding : At(lines, index)) {
        text += (text.empty() ? "" : "\n") + std::string(LevelName(finding.level)) + ": " + finding.message;
    }
    return text;
}

std::optional<std::size_t> LineFindings::Next(const std::vector<std::string>& lines, std::optional<std::size_t> from) {
    const std::size_t count = lines.size();
    const std::size_t start = from ? *from + 1 : 0;
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (start + step) % count;
        if (!At(lines, index).empty()) {
            return index;
        }
    }
    return std::nullopt;
}

} // namespace ordwell
