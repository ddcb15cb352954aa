#pragma once

#include <cstdint>
#include <optional>
#include <vector>

typedef struct _XDisplay Display;

namespace ordwell {

// A key this program gave keysyms of its own, with those keysyms.
struct ClaimedKey {
    std::uint8_t keycode = 0;
    std::vector<std::uint32_t> keysyms;
};

// What the typing programs of this host do to the display, kept in a
// property of the root window (_ORDWELL_TYPING) where it outlives them: each
// process that is typing, or holds keys of its own, has a record there with
// its process id and the keys it claimed. A program killed outright
// (SIGKILL) cannot clean up after itself: the next one to type finds its
// record, releases every key left down by synthetic input and gives the
// claimed keys their nothing back.
class X11TypingRecord final {
public:
    X11TypingRecord(Display* display, unsigned long root);

    // Writes this process's record, with the keys claimed now.
    void Write(const std::vector<ClaimedKey>& claimed);
    // Removes this process's record.
    void Erase();
    // What the typers that died left behind.
    struct Orphans {
        std::vector<ClaimedKey> keys; // the keys they claimed
        bool othersTyping = false;    // another process that lives has a record too
    };
    // Takes the records of processes of this host that are gone out of the
    // property and answers the keys they claimed; nothing when none died.
    std::optional<Orphans> TakeRecordsOfTheDead();

private:
    // The whole property as 32-bit values: records of
    // [process id, host atom, key count, then per key: keycode, keysym count, keysyms].
    std::vector<std::uint32_t> Read();
    void Store(const std::vector<std::uint32_t>& values);

    Display* m_display;
    unsigned long m_root;
    unsigned long m_property;
    unsigned long m_host;
    std::uint32_t m_pid;
};

} // namespace ordwell
