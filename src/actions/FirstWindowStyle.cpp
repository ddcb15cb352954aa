#include "FirstWindowStyle.h"

#include <algorithm>

#include "platform/Clock.h"

namespace ordwell {

FirstWindowStyle::~FirstWindowStyle() {
    Finish();
    for (const Pending& pending : m_pending) {
        m_pump.Cancel(pending.timer);
    }
}

void FirstWindowStyle::Apply(std::shared_ptr<Process> process, ShowState state) {
    if (!process || process->Id() <= 0 || state == ShowState::Normal) {
        return;
    }
    std::vector<WindowId> before;
    for (const WindowInfo& window : m_windows.TopLevelWindows(WindowScope::All)) {
        before.push_back(window.id);
    }
    m_pending.push_front(Pending{std::move(process), state, m_clock.MonotonicMs(), kFirstLookMs, 0, std::move(before)});
    LookLater(m_pending.begin());
}

void FirstWindowStyle::Finish() {
    std::uint64_t latest = 0;
    for (const Pending& pending : m_pending) {
        latest = std::max(latest, pending.startMs + kGiveUpMs);
    }
    const std::uint64_t now = m_clock.MonotonicMs();
    if (m_pending.empty() || latest <= now) {
        return;
    }
    // The timers go on looking; a last look at the bound ends every entry.
    m_pump.WaitFor(static_cast<std::uint32_t>(latest - now + kLongestPauseMs), [this] { return m_pending.empty(); });
}

void FirstWindowStyle::LookLater(Entry entry) {
    entry->timer = m_pump.After(entry->pauseMs, [this, entry] { Look(entry); });
}

void FirstWindowStyle::Look(Entry entry) {
    for (const WindowInfo& window : m_windows.TopLevelWindows(WindowScope::Shown)) {
        const bool ours = window.processId == entry->process->Id() ||
                          (window.processId == 0 &&
                           std::find(entry->before.begin(), entry->before.end(), window.id) == entry->before.end());
        if (ours && window.visible && !window.owned) {
            // Asked without waiting: this runs inside the event pump.
            m_windows.Show(window.id, entry->state, {});
            m_pending.erase(entry);
            return;
        }
    }
    if (entry->process->HasEnded() || m_clock.MonotonicMs() - entry->startMs >= kGiveUpMs) {
        m_pending.erase(entry);
        return;
    }
    entry->pauseMs = std::min(entry->pauseMs * 2, kLongestPauseMs);
    LookLater(entry);
}

} // namespace ordwell
