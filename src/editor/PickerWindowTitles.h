#pragma once

#include <string>
#include <vector>

namespace ordwell {

class WindowSystem;

// The titles the window picker lists: every visible top-level window that
// has a title and no owner, each title whole, sorted without regard to
// letter case; two windows with the same title are listed twice.
std::vector<std::string> PickerWindowTitles(WindowSystem& windows);

} // namespace ordwell
