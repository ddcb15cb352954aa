#include "ParsedLines.h"

#include <algorithm>
#include <bit>

namespace ordwell {

ParsedLines::ParsedLines(std::size_t lineCount)
    : m_slots(std::bit_ceil(std::clamp<std::size_t>(lineCount, 1, kMaxSlots))) {
    m_mask = m_slots.size() - 1;
}

void ParsedLines::Parse(const MacroText& text, int index, Slot& slot) {
    const std::string_view line = text.Line(static_cast<std::size_t>(index));
    if (const LineKind kind = ClassifyMacroLine(line, static_cast<std::size_t>(index)); kind != LineKind::Command) {
        // Nothing of such a line runs: its kind is all there is to keep.
        slot.syntax = LineSyntax{};
        slot.syntax.kind = kind;
    } else {
        // The slot changes only once the parse is made: a parse that runs
        // out of memory leaves the slot as it was.
        slot.syntax = ParseLine(text.Source(), line);
        ++m_parseCount;
    }
    slot.index = index;
}

} // namespace ordwell
