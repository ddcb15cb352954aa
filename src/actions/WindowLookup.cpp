#include "WindowLookup.h"

#include "TitleCase.h"
#include "TitlePattern.h"
#include "WindowWaits.h"
#include "engine/Engine.h"

namespace ordwell {

bool IsPickableWindow(const WindowInfo& window) {
    return !window.title.empty() && window.visible && !window.owned;
}

WindowId FindWindowByTitle(WindowSystem& windows, std::string_view pattern) {
    for (const WindowInfo& window : windows.TopLevelWindows(WindowScope::Shown)) {
        if (IsPickableWindow(window) && MatchTitlePattern(window.title, pattern)) {
            return window.id;
        }
    }
    return FindWindowByExactTitle(windows, pattern);
}

WindowId FindWindowByExactTitle(WindowSystem& windows, std::string_view title) {
    if (title.empty()) {
        return kNoWindow;
    }
    for (const WindowInfo& window : windows.TopLevelWindows(WindowScope::All)) {
        if (SameTitleIgnoringCase(window.title, title)) {
            return window.id;
        }
    }
    return kNoWindow;
}

bool ActivateWindowByTitle(CMacroRunner& runner, std::string_view pattern) {
    WindowSystem& windows = runner.GetEngine().GetPlatform().windows;
    const WindowId window = FindWindowByTitle(windows, pattern);
    if (window == kNoWindow) {
        return false;
    }
    if (windows.IsMinimized(window)) {
        windows.Show(window, ShowState::Normal, RunWaitBound(runner, kShowBoundMs));
    }
    return windows.Activate(window, RunWaitBound(runner, kActivationBoundMs));
}

std::vector<std::string> PickableWindowTitles(WindowSystem& windows) {
    std::vector<std::string> titles;
    for (const WindowInfo& window : windows.TopLevelWindows(WindowScope::Shown)) {
        if (IsPickableWindow(window)) {
            titles.push_back(window.title);
        }
    }
    return titles;
}

} // namespace ordwell
