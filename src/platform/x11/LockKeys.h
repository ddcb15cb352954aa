#pragma once

#include <optional>

namespace ordwell {

struct LockKeyState {
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// The lock keys' lights of the X display named by DISPLAY, on a connection
// of its own, told of every change by the keyboard extension: EventFd() is
// readable when they may have changed, so a status bar follows them without
// asking again and again.
class LockKeys final {
public:
    LockKeys();
    ~LockKeys();
    LockKeys(const LockKeys&) = delete;
    LockKeys& operator=(const LockKeys&) = delete;

    // -1 when the display or its keyboard extension cannot be reached.
    int EventFd() const;
    // Takes in the pending change notices and reads the lights; nothing
    // without a display.
    std::optional<LockKeyState> Read();

private:
    struct Connection;
    Connection* m_connection = nullptr;
};

} // namespace ordwell
