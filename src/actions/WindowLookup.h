#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowSystem.h"

namespace ordwell {

class CMacroRunner;

// Whether a pattern may find the window: it is titled, visible (or
// minimized) and has no owner.
bool IsPickableWindow(const WindowInfo& window);

// The one place where a title given in a macro becomes a window. First the
// pattern step: the topmost top-level window that is titled, visible (or
// minimized), has no owner and whose title matches the pattern
// (MatchTitlePattern). Only when none does, the exact-title step: the first
// top-level window of all, hidden and owned ones included, whose whole title
// equals the pattern text without regard to letter case
// (SameTitleIgnoringCase); an empty text names no window.
WindowId FindWindowByTitle(WindowSystem& windows, std::string_view pattern);

// The exact-title step alone.
WindowId FindWindowByExactTitle(WindowSystem& windows, std::string_view title);

// Finds the window as FindWindowByTitle does, restores it when it is
// minimized and makes it the active window. True once it is active; false
// when no window matches, or it did not become active (the window manager
// refused, or the run was asked to stop).
bool ActivateWindowByTitle(CMacroRunner& runner, std::string_view pattern);

// The titles a user may pick a window by, topmost first: those of the
// visible (or minimized), titled top-level windows that have no owner.
std::vector<std::string> PickableWindowTitles(WindowSystem& windows);

} // namespace ordwell
