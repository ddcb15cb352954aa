#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ordwell {

// One change to the lines of a macro, as the line editor made it.
struct LineStep {
    enum class Kind {
        Insert,  // `after` (one line) went in at `index`
        Remove,  // `before` (one line) came out of `index`
        Replace, // the line at `index` was `before` and became `after`
        Reset,   // every line: `before` became `after` (a reload)
    };
    Kind kind = Kind::Insert;
    std::size_t index = 0;
    std::vector<std::string> before;
    std::vector<std::string> after;
};

// What one editing command did, in order, with the selection before and
// after it: enough to take it back and to do it again.
struct LineEdit {
    std::vector<LineStep> steps;
    std::optional<std::size_t> selectionBefore;
    std::optional<std::size_t> selectionAfter;
};

} // namespace ordwell
