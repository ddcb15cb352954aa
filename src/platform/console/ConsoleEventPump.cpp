#include "ConsoleEventPump.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <poll.h>

namespace ordwell {

void ConsoleEventPump::DispatchPending() {
    // Nothing is queued on a terminal: a stop signal is read by the runner
    // itself, so there is nothing to dispatch.
}

void ConsoleEventPump::WaitFor(std::uint32_t ms, const std::function<bool()>& stopRequested) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    // The wake descriptor is never drained, so once it has fired it stays
    // readable; it is watched only until then, or the wait would spin.
    int watched = m_wakeFd;
    while (!stopRequested()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return;
        }
        pollfd wake{watched, POLLIN, 0};
        const int ready = ::poll(&wake, 1, static_cast<int>(std::min<long long>(left, INT_MAX)));
        if (ready > 0) {
            watched = -1;
        } else if (ready < 0 && errno != EINTR) {
            watched = -1;
        }
    }
}

} // namespace ordwell
