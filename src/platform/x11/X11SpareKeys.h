#pragma once

#include <cstdint>
#include <vector>

#include "X11TypingRecord.h"

typedef struct _XDisplay Display;

namespace ordwell {

class X11KeyboardLayout;

// Keysyms of our own on spare keys of the layout (keys that carry nothing),
// for characters and keys the layout lacks. Every change is one XKB request
// (per keyboard: the core one and the typing device) for all the keys it
// touches, made with the server grabbed, with explicit key types so that the server
// keeps exactly the levels given (a lower-case letter on the first level and
// its capital on the second; where a key has four, the third and fourth are
// typed with AltGr); the keys between them are sent as they are,
// so nothing else of the map changes.
//
// Every change spans all the spare keys seen, whichever it touches: the
// server tells clients which keys changed, and Xlib reads again only those,
// forgetting a change told while it reads (a program that reads the keys
// of one change while the next is made would keep the next one's keys as
// they were). With one span for all, whatever a program reads again takes
// in every change made before.
class X11SpareKeys final {
public:
    X11SpareKeys(Display* display, unsigned device) : m_display(display), m_device(device) {}

    // The spare keys of the layout that carry nothing now and are not ours.
    std::vector<std::uint8_t> FreeKeys(const X11KeyboardLayout& layout);
    // Gives each set of keysyms (one per level, as many as the layout's
    // LevelsPerSpareKey: case pairs, a lower and an upper case, on levels 1
    // and 2 or 3 and 4, characters without case on any) a free spare key, in one
    // request, with the server grabbed so that no other typer claims the
    // same keys meanwhile; false when there are fewer free keys than sets,
    // or the server refused.
    bool Claim(const std::vector<std::vector<std::uint32_t>>& keysymSets, const X11KeyboardLayout& layout);
    // Gives the keys their nothing back, each only where it still holds the
    // keysyms put there (a new layout may have taken it since); one request.
    void Clear(const std::vector<ClaimedKey>& keys);
    // Clears every key claimed here.
    void ClearAll();
    const std::vector<ClaimedKey>& Claimed() const { return m_claimed; }

private:
    // Sets the first group of each key to its keysyms (none: no group at
    // all), on the core keyboard and the device.
    bool Apply(const std::vector<ClaimedKey>& keys);
    bool ApplyTo(unsigned device, const std::vector<ClaimedKey>& keys);

    Display* m_display;
    unsigned m_device;
    std::vector<ClaimedKey> m_claimed;
    // The lowest and highest spare key of the layouts seen.
    int m_spanFirst = 255;
    int m_spanLast = 0;
};

} // namespace ordwell
