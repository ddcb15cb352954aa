#pragma once

namespace ordwell {

struct FrameSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// The smallest the main window may be made, so that the visible toolbars
// and the list still fit: 470 pixels wide with fewer than three toolbars
// shown and 450 with more (they then wrap into rows), and 360 pixels high
// plus the height of the main toolbar for every toolbar shown.
FrameSize MinimumFrameSize(int visibleToolbars, int mainToolbarHeight);

} // namespace ordwell
