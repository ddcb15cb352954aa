#pragma once

#include "platform/StopSignal.h"

namespace ordwell {

// Turns SIGINT and SIGTERM into a stop request. The handler only sets a flag
// and writes a byte to a pipe, whose read end an event pump watches so that
// a sleeping wait wakes at once.
class SignalStop final : public StopSignal {
public:
    // Installs the handlers; one instance per process.
    SignalStop();
    ~SignalStop() override;
    SignalStop(const SignalStop&) = delete;
    SignalStop& operator=(const SignalStop&) = delete;

    bool Raised() const override;
    // Whether a signal arrived in this process, asked of no instance: for the
    // end of the process, when the instance may be gone.
    static bool Arrived();
    // Readable once a signal has arrived; never drained, so every watcher
    // sees it.
    int WakeFd() const;
};

} // namespace ordwell
