#pragma once

#include <cstddef>
#include <vector>

#include "MacroLine.h"
#include "MacroText.h"

namespace ordwell {

// The parses of a macro's lines, kept while they are worth keeping. A line is
// parsed when it runs, and its parse stays in the slot of its index (the
// index modulo the number of slots) until a line of another index takes the
// slot. So a loop of up to kMaxSlots lines, or a longer one in part, runs its
// lines parsed once, while a macro of a million lines run from top to bottom
// holds the parses of a few thousand.
class ParsedLines {
public:
    static constexpr std::size_t kMaxSlots = 4096;

    // Room for the lines of a macro of `lineCount` lines.
    explicit ParsedLines(std::size_t lineCount);
    ParsedLines(const ParsedLines&) = delete;
    ParsedLines& operator=(const ParsedLines&) = delete;

    // The parse of line `index` (from 0) of `text`, the macro whose lines
    // these are; null for a blank, comment or label line. It lives until a
    // line of another index that has the same slot is asked for. A parse made
    // again refers into the text of the macro as the first one did, so what
    // is reported of the line (its columns) stays the same.
    const LineSyntax* At(const MacroText& text, int index) {
        Slot& slot = m_slots[static_cast<std::size_t>(index) & m_mask];
        if (slot.index != index) {
            Parse(text, index, slot);
        }
        return slot.syntax.kind == LineKind::Command ? &slot.syntax : nullptr;
    }
    // How many command lines were parsed so far, the same line parsed again
    // counted again.
    std::size_t ParseCount() const { return m_parseCount; }

private:
    struct Slot {
        int index = -1;
        LineSyntax syntax;
    };
    void Parse(const MacroText& text, int index, Slot& slot);

    std::vector<Slot> m_slots;
    std::size_t m_mask = 0;
    std::size_t m_parseCount = 0;
};

} // namespace ordwell
