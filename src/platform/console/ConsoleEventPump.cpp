#include "ConsoleEventPump.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <vector>

namespace ordwell {

EventPump::EventId ConsoleEventPump::Watch(NativeHandle handle, Callback callback) {
    const EventId id = m_nextId++;
    m_watches.emplace(id, std::make_pair(handle, std::move(callback)));
    return id;
}

EventPump::EventId ConsoleEventPump::After(std::uint32_t ms, Callback callback) {
    const EventId id = m_nextId++;
    m_timers.emplace(std::make_pair(Clock::now() + std::chrono::milliseconds(ms), id), std::move(callback));
    return id;
}

void ConsoleEventPump::Cancel(EventId id) {
    if (m_watches.erase(id) > 0) {
        return;
    }
    std::erase_if(m_timers, [id](const auto& timer) { return timer.first.second == id; });
}

void ConsoleEventPump::PollAndDispatch(int timeoutMs) {
    std::vector<pollfd> watched;
    std::vector<EventId> ids;
    watched.reserve(m_watches.size() + 1);
    for (const auto& [id, watch] : m_watches) {
        watched.push_back({watch.first, POLLIN, 0});
        ids.push_back(id);
    }
    if (m_wakeFd >= 0) {
        watched.push_back({m_wakeFd, POLLIN, 0});
    }
    const int ready = ::poll(watched.data(), watched.size(), timeoutMs);
    if (ready > 0) {
        if (m_wakeFd >= 0 && watched.back().revents != 0) {
            m_wakeFd = -1;
        }
        for (size_t i = 0; i < ids.size(); ++i) {
            if (watched[i].revents == 0) {
                continue;
            }
            // Looked up again: an earlier callback may have cancelled it.
            if (const auto found = m_watches.find(ids[i]); found != m_watches.end()) {
                const Callback callback = found->second.second;
                callback();
            }
        }
    } else if (ready < 0 && errno != EINTR && errno != EAGAIN) {
        // A descriptor poll() refuses cannot be slept on: stop watching the
        // wake descriptor rather than spin on the error.
        m_wakeFd = -1;
    }
    const Clock::time_point now = Clock::now();
    while (!m_timers.empty() && m_timers.begin()->first.first <= now) {
        Callback callback = std::move(m_timers.begin()->second);
        m_timers.erase(m_timers.begin());
        callback();
    }
}

void ConsoleEventPump::DispatchPending() {
    PollAndDispatch(0);
}

bool ConsoleEventPump::WaitFor(std::uint32_t ms, const std::function<bool()>& done) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return false;
        }
        Clock::time_point until = deadline;
        if (!m_timers.empty()) {
            until = std::min(until, m_timers.begin()->first.first);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
        PollAndDispatch(static_cast<int>(std::clamp<long long>(left, 0, INT_MAX)));
    }
    return true;
}

} // namespace ordwell
