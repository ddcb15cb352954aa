#include "PickerWindowTitles.h"

#include <algorithm>

#include "actions/WindowLookup.h"
#include "engine/AsciiText.h"

namespace ordwell {

namespace {

// Letter case aside, as a sorted list box orders titles; equal ones by
// their bytes, so the order is always the same.
bool TitleBefore(const std::string& a, const std::string& b) {
    const auto folded = [](char x, char y) { return AsciiLower(x) < AsciiLower(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) {
        return false;
    }
    return a < b;
}

} // namespace

std::vector<std::string> PickerWindowTitles(WindowSystem& windows) {
    std::vector<std::string> titles = PickableWindowTitles(windows);
    std::sort(titles.begin(), titles.end(), TitleBefore);
    return titles;
}

} // namespace ordwell
