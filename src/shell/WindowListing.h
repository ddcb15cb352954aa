#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace ordwell {

class WindowSystem;

// What --list-windows prints: one line per top-level window a title pattern
// can find, topmost first, its title exactly as a macro matches it and,
// after a tab, its program's name in brackets where known.
//
// Without a pattern every such window is listed. With one, those the pattern
// finds, the one FindWindow and the other window commands use marked with
// "* " and the others with "  " (a window found by its exact title alone,
// hidden or owned, is listed by itself, marked). `found` tells whether the
// pattern finds any window.
std::string WindowListing(WindowSystem& windows, const std::optional<std::string>& pattern,
                          const std::function<std::string(std::int64_t processId)>& programName, bool& found);

} // namespace ordwell
