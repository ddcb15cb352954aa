#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ordwell {

// A rectangle in screen pixels; right and bottom lie just outside it.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Where the main window was when it closed, as the setting "WindowPos"
// (section "Settings") stores it: ten fields, "flags,show,minX,minY,maxX,
// maxY,left,top,right,bottom", in the layout of a Windows WINDOWPLACEMENT.
// The flags are 2 when the window was maximized, else 0; only the normal
// rectangle is used when the window is made again.
struct WindowPlacement {
    unsigned flags = 0;
    unsigned showCommand = 1;
    int minX = -1;
    int minY = -1;
    int maxX = -1;
    int maxY = -1;
    ScreenRect normal;
};

inline constexpr std::string_view kPlacementSection = "Settings";
inline constexpr std::string_view kPlacementKey = "WindowPos";
inline constexpr unsigned kRestoreToMaximized = 2;
inline constexpr unsigned kShowNormal = 1;
inline constexpr unsigned kShowMaximized = 3;

// The placement of a window with this normal rectangle, maximized or not.
WindowPlacement PlacementOf(const ScreenRect& normal, bool maximized);
std::string FormatWindowPlacement(const WindowPlacement& placement);
// Nothing when the text does not hold all ten fields (each a whole number,
// optionally signed, after optional white space, with commas between).
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);

// The rectangle a saved window opens at, on the screens there are now
// (their usable areas, the first the primary one): as saved while its top
// edge, where the title bar is, shows on one of them; otherwise moved onto
// the primary screen, and made smaller where it would not fit, so that a
// window saved on a screen that has since gone does not open out of sight.
ScreenRect KeepOnScreen(const ScreenRect& window, std::span<const ScreenRect> screens);

} // namespace ordwell
