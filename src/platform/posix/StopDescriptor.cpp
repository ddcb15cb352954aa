#include "StopDescriptor.h"

#include <ctime>
#include <poll.h>

namespace ordwell {

bool StopDescriptor::Requested() const {
    pollfd watched{m_fd, POLLIN, 0};
    return m_fd >= 0 && ::poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN) != 0;
}

bool StopDescriptor::SleepFor(std::chrono::nanoseconds time) const {
    if (time.count() < 0) {
        time = std::chrono::nanoseconds(0);
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(time);
    const timespec timeout{static_cast<time_t>(seconds.count()), static_cast<long>((time - seconds).count())};
    // A descriptor closed under us reads as POLLNVAL at once, which would
    // turn the sleep into a spin: sleep without it then.
    pollfd watched{m_fd, POLLIN, 0};
    const int ready = ::ppoll(&watched, m_fd < 0 ? 0 : 1, &timeout, nullptr);
    if (ready == 1 && (watched.revents & POLLNVAL) != 0) {
        ::ppoll(nullptr, 0, &timeout, nullptr);
        return false;
    }
    // An interrupting signal ends the sleep early; the caller looks again.
    return ready == 1 && (watched.revents & POLLIN) != 0;
}

} // namespace ordwell
