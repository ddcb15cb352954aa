#include "WindowPlacement.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace ordwell {

namespace {

// How much of the title bar must show for the user to take hold of it.
constexpr int kGripWidth = 64;
constexpr int kGripHeight = 24;

bool ReadNumber(std::string_view text, size_t& at, long long& value) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    size_t start = at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    const bool negative = start < text.size() && text[start] == '-';
    const size_t digits = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        ++at;
    }
    if (at == digits) {
        return false;
    }
    long long magnitude = 0;
    const auto result = std::from_chars(text.data() + digits, text.data() + at, magnitude);
    if (result.ec != std::errc()) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

int Clamp(long long value) {
    return static_cast<int>(std::clamp<long long>(value, -1'000'000, 1'000'000));
}

} // namespace

WindowPlacement PlacementOf(const ScreenRect& normal, bool maximized) {
    WindowPlacement placement;
    placement.flags = maximized ? kRestoreToMaximized : 0;
    placement.showCommand = maximized ? kShowMaximized : kShowNormal;
    placement.normal = normal;
    return placement;
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
    std::string text = std::to_string(p.flags) + ',' + std::to_string(p.showCommand);
    for (const int n : {p.minX, p.minY, p.maxX, p.maxY, p.normal.left, p.normal.top, p.normal.right, p.normal.bottom}) {
        text += ',' + std::to_string(n);
    }
    return text;
}

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
    std::array<long long, 10> fields{};
    size_t at = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != ',') {
                return std::nullopt;
            }
            ++at;
        }
        if (!ReadNumber(text, at, fields[i])) {
            return std::nullopt;
        }
    }
    WindowPlacement p;
    p.flags = static_cast<unsigned>(Clamp(fields[0]));
    p.showCommand = static_cast<unsigned>(Clamp(fields[1]));
    p.minX = Clamp(fields[2]);
    p.minY = Clamp(fields[3]);
    p.maxX = Clamp(fields[4]);
    p.maxY = Clamp(fields[5]);
    p.normal = {Clamp(fields[6]), Clamp(fields[7]), Clamp(fields[8]), Clamp(fields[9])};
    return p;
}

ScreenRect KeepOnScreen(const ScreenRect& window, std::span<const ScreenRect> screens) {
    if (screens.empty()) {
        return window;
    }
    for (const ScreenRect& screen : screens) {
        const int visibleWidth = std::min(window.right, screen.right) - std::max(window.left, screen.left);
        const bool topShows = window.top >= screen.top && window.top + kGripHeight <= screen.bottom;
        if (visibleWidth >= kGripWidth && topShows) {
            return window;
        }
    }
    const ScreenRect& primary = screens.front();
    const int width = std::clamp(window.Width(), 1, std::max(1, primary.Width()));
    const int height = std::clamp(window.Height(), 1, std::max(1, primary.Height()));
    const int left = primary.left + (primary.Width() - width) / 2;
    const int top = primary.top + (primary.Height() - height) / 2;
    return {left, top, left + width, top + height};
}

} // namespace ordwell
