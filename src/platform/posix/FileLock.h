#pragma once

#include <chrono>

#include "StopDescriptor.h"

namespace ordwell {

// How long a file operation waits for another holder's lock on a log or INI
// file. Our own writers hold it for one append or one rewrite of a small
// file: milliseconds, or a second or two when a slow or busy disk takes long
// to flush. A lock kept for longer belongs to a program that will not let go
// soon (a backup, `flock file command`); waiting on would only freeze the
// macro, which is better told that the write failed.
constexpr std::chrono::milliseconds kDefaultLockWait{5000};

// How a wait for a lock ended.
enum class LockWait {
    Locked,
    TimedOut, // another holder kept the lock for the whole bound
    Stopped,  // a stop was requested while waiting
    Failed,   // the file cannot be locked
};

// Takes an exclusive whole-file lock (flock) on the descriptor. While another
// holder keeps it, tries again after short sleeps on the stop descriptor,
// growing from a fraction of a millisecond to a few dozen milliseconds, for
// at most `bound`. A free lock is taken even after a stop request: only
// waiting ends on one.
LockWait LockExclusive(int fd, const StopDescriptor& stop, std::chrono::milliseconds bound);

} // namespace ordwell
