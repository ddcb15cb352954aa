#pragma once

#include <string_view>

namespace ordwell {

class CMacroRunner;

// How sending a text went.
struct SendOutcome {
    int lastItem = 0;      // the last item's result (see itemresult)
    bool delivered = true; // every key reached the keyboard (false: no display, say)
};

// Sends one command's SendKeys text into the window that has the focus:
// item by item, each followed by the key delay (read once per text) in a
// wait that keeps the program live, until the text is used up, an item
// gives other than 0 (a syntax error, a stray ")") or the run is asked to
// stop. With a key delay of 0 the items go back to back, without waiting.
// Whatever the end, no key stays down afterwards.
SendOutcome SendKeysText(CMacroRunner& runner, std::string_view text);

} // namespace ordwell
