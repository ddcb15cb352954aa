#include "SimulatedWindowSystem.h"

#include <algorithm>

namespace ordwell {

namespace {

bool OnScreen(ShowState state) {
    return state == ShowState::Normal || state == ShowState::Maximized;
}

} // namespace

WindowId SimulatedWindowSystem::Open(Window window) {
    const WindowId id = m_nextId++;
    const bool onScreen = OnScreen(window.state);
    m_windows.insert(m_windows.begin(), Entry{id, std::move(window)});
    if (onScreen) {
        m_active = id;
    }
    return id;
}

SimulatedWindowSystem::Entry* SimulatedWindowSystem::Find(WindowId window) {
    const auto found = std::find_if(m_windows.begin(), m_windows.end(), [&](const Entry& e) { return e.id == window; });
    return found == m_windows.end() ? nullptr : &*found;
}

const SimulatedWindowSystem::Entry* SimulatedWindowSystem::Find(WindowId window) const {
    return const_cast<SimulatedWindowSystem*>(this)->Find(window);
}

void SimulatedWindowSystem::Record(std::string_view action, const Entry& entry, std::string_view detail) {
    m_transcript.append(action).append(" ").append(entry.window.title);
    if (!detail.empty()) {
        m_transcript.append(" ").append(detail);
    }
    m_transcript += '\n';
}

void SimulatedWindowSystem::PassFocusOn() {
    const auto next =
        std::find_if(m_windows.begin(), m_windows.end(), [](const Entry& e) { return OnScreen(e.window.state); });
    m_active = next == m_windows.end() ? kNoWindow : next->id;
}

std::vector<WindowInfo> SimulatedWindowSystem::TopLevelWindows(WindowScope scope) {
    std::vector<WindowInfo> shown;
    std::vector<WindowInfo> hidden;
    for (const Entry& e : m_windows) {
        const bool visible = e.window.state != ShowState::Hidden;
        (visible ? shown : hidden).push_back({e.id, e.window.title, visible, e.window.owned, e.window.processId});
    }
    if (scope == WindowScope::All) {
        shown.insert(shown.end(), hidden.begin(), hidden.end());
    }
    return shown;
}

std::string SimulatedWindowSystem::Title(WindowId window) {
    const Entry* entry = Find(window);
    return entry != nullptr ? entry->window.title : std::string();
}

bool SimulatedWindowSystem::IsMinimized(WindowId window) {
    const Entry* entry = Find(window);
    return entry != nullptr && entry->window.state == ShowState::Minimized;
}

bool SimulatedWindowSystem::Activate(WindowId window, const WaitBound& bound) {
    const auto found = std::find_if(m_windows.begin(), m_windows.end(), [&](const Entry& e) { return e.id == window; });
    if (found == m_windows.end()) {
        return false;
    }
    Record("activate", *found);
    if (!found->window.activates) {
        m_pump.WaitFor(bound.ms, [&] { return bound.Stopped(); });
        return false;
    }
    std::rotate(m_windows.begin(), found, found + 1);
    m_active = window;
    return true;
}

CloseOutcome SimulatedWindowSystem::Close(WindowId window, CloseMode mode, const WaitBound& bound) {
    Entry* entry = Find(window);
    if (entry == nullptr) {
        return CloseOutcome::NotDelivered;
    }
    Record(mode == CloseMode::Wait ? "close" : "post close", *entry);
    const Window target = entry->window;
    switch (target.onClose) {
    case OnClose::Closes:
        std::erase_if(m_windows, [&](const Entry& e) { return e.id == window; });
        if (m_active == window) {
            PassFocusOn();
        }
        break;
    case OnClose::Asks:
        Open({.title = target.closeQuestion, .owned = true, .processId = target.processId});
        break;
    case OnClose::Ignores:
        break;
    case OnClose::Hangs:
        if (mode == CloseMode::Wait) {
            return m_pump.WaitFor(bound.ms, [&] { return bound.Stopped(); }) ? CloseOutcome::Stopped
                                                                             : CloseOutcome::NoAnswer;
        }
        break;
    }
    return mode == CloseMode::Wait ? CloseOutcome::Handled : CloseOutcome::Posted;
}

bool SimulatedWindowSystem::Show(WindowId window, ShowState state, const WaitBound&) {
    Entry* entry = Find(window);
    if (entry == nullptr) {
        return false;
    }
    const bool wasVisible = entry->window.state != ShowState::Hidden;
    static constexpr std::string_view kActions[] = {"restore", "minimize", "maximize", "hide"};
    Record(kActions[static_cast<int>(state)], *entry);
    entry->window.state = state;
    if (m_active == window && !OnScreen(state)) {
        PassFocusOn();
    }
    return wasVisible;
}

bool SimulatedWindowSystem::ClickAt(int x, int y, bool doubleClick) {
    for (const Entry& e : m_windows) {
        const Window& w = e.window;
        if (OnScreen(w.state) && x >= w.x && y >= w.y && x < w.x + w.width && y < w.y + w.height) {
            Record(doubleClick ? "double-click" : "click", e, std::to_string(x - w.x) + "," + std::to_string(y - w.y));
            return true;
        }
    }
    return false;
}

std::vector<std::string> SimulatedWindowSystem::Titles() const {
    std::vector<std::string> titles;
    for (const Entry& e : m_windows) {
        titles.push_back(e.window.title);
    }
    return titles;
}

ShowState SimulatedWindowSystem::StateOf(WindowId window) const {
    const Entry* entry = Find(window);
    return entry != nullptr ? entry->window.state : ShowState::Hidden;
}

} // namespace ordwell
