#include "MacroCheck.h"

#include "AsciiText.h"

namespace ordwell {

namespace {

std::string FoldedLabel(std::string_view name) {
    return AsciiUpperCopy(LabelName(name));
}

} // namespace

void MacroLabels::Add(std::string_view line, std::size_t index) {
    if (ClassifyMacroLine(line, index) == LineKind::Label) {
        m_folded.insert(FoldedLabel(line));
    }
}

bool MacroLabels::Has(std::string_view label) const {
    return m_folded.contains(FoldedLabel(label));
}

std::vector<LineFinding> CheckMacroLine(std::string_view line, std::size_t index, const CheckContext& context) {
    if (ClassifyMacroLine(line, index) != LineKind::Command) {
        return {};
    }
    const LineSyntax syntax = ParseLine(line);
    return CheckLine(syntax, *syntax.source, context);
}

std::vector<MacroFinding> CheckMacro(const MacroText& text, CheckContext context) {
    MacroLabels labels;
    for (size_t i = 0; i < text.Count(); ++i) {
        labels.Add(text.Line(i), i);
    }
    if (!context.hasLabel) {
        context.hasLabel = [&labels](std::string_view label) { return labels.Has(label); };
    }
    std::vector<MacroFinding> findings;
    for (size_t i = 0; i < text.Count(); ++i) {
        const std::string_view line = text.Line(i);
        if (ClassifyMacroLine(line, i) != LineKind::Command) {
            continue;
        }
        for (LineFinding& finding : CheckLine(ParseLine(text.Source(), line), line, context)) {
            findings.push_back({static_cast<int>(i) + 1, std::move(finding)});
        }
    }
    return findings;
}

} // namespace ordwell
