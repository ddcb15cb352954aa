#include "FirstWindowStyle.h"

#include <algorithm>

#include "platform/Clock.h"

namespace ordwell {

FirstWindowStyle::~FirstWindowStyle() {
    for (const Pending& pending : m_pending) {
        m_pump.Cancel(pending.timer);
    }
}

void FirstWindowStyle::Apply(std::int64_t processId, ShowState state) {
    if (processId <= 0 || state == ShowState::Normal) {
        return;
    }
    m_pending.push_front(Pending{processId, state, m_clock.MonotonicMs(), kFirstLookMs, 0});
    LookLater(m_pending.begin());
}

void FirstWindowStyle::LookLater(Entry entry) {
    entry->timer = m_pump.After(entry->pauseMs, [this, entry] { Look(entry); });
}

void FirstWindowStyle::Look(Entry entry) {
    for (const WindowInfo& window : m_windows.TopLevelWindows(WindowScope::Shown)) {
        if (window.processId == entry->processId && window.visible && !window.owned) {
            // Asked without waiting: this runs inside the event pump.
            m_windows.Show(window.id, entry->state, {});
            m_pending.erase(entry);
            return;
        }
    }
    if (m_clock.MonotonicMs() - entry->startMs >= kGiveUpMs) {
        m_pending.erase(entry);
        return;
    }
    entry->pauseMs = std::min(entry->pauseMs * 2, kLongestPauseMs);
    LookLater(entry);
}

} // namespace ordwell
