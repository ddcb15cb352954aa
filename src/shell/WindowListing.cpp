#include "WindowListing.h"

#include "actions/TitlePattern.h"
#include "actions/WindowLookup.h"
#include "platform/WindowSystem.h"

namespace ordwell {

namespace {

std::string Row(const WindowInfo& window, const std::function<std::string(std::int64_t)>& programName) {
    std::string row = window.title;
    if (window.processId != 0) {
        if (const std::string program = programName(window.processId); !program.empty()) {
            row += "\t[" + program + "]";
        }
    }
    return row + "\n";
}

} // namespace

std::string WindowListing(WindowSystem& windows, const std::optional<std::string>& pattern,
                          const std::function<std::string(std::int64_t processId)>& programName, bool& found) {
    const WindowId chosen = pattern ? FindWindowByTitle(windows, *pattern) : kNoWindow;
    found = chosen != kNoWindow;
    std::string listing;
    bool listedChosen = false;
    for (const WindowInfo& window : windows.TopLevelWindows(WindowScope::Shown)) {
        if (!IsPickableWindow(window) || (pattern && !MatchTitlePattern(window.title, *pattern))) {
            continue;
        }
        if (pattern) {
            listing += window.id == chosen ? "* " : "  ";
            listedChosen = listedChosen || window.id == chosen;
        }
        listing += Row(window, programName);
    }
    if (found && !listedChosen) {
        for (const WindowInfo& window : windows.TopLevelWindows(WindowScope::All)) {
            if (window.id == chosen) {
                listing += "* " + Row(window, programName);
                break;
            }
        }
    }
    return listing;
}

} // namespace ordwell
