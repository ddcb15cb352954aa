#include "SimulatedWindowSystem.h"

#include <algorithm>

namespace ordwell {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

WindowId SimulatedWindowSystem::Open(Window window) {
    const WindowId id = m_nextId++;
    m_windows.insert(m_windows.begin(), Entry{id, std::move(window)});
    m_active = id;
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

std::vector<WindowInfo> SimulatedWindowSystem::TopLevelWindows() {
    std::vector<WindowInfo> windows;
    windows.reserve(m_windows.size());
    for (const Entry& e : m_windows) {
        windows.push_back(
            {e.id, e.window.title, e.window.state != ShowState::Hidden, e.window.owned, e.window.processId});
    }
    return windows;
}

WindowId SimulatedWindowSystem::FindByExactTitle(std::string_view title) {
    for (const Entry& e : m_windows) {
        if (EqualNoCase(e.window.title, title)) {
            return e.id;
        }
    }
    return kNoWindow;
}

std::string SimulatedWindowSystem::Title(WindowId window) {
    const Entry* entry = Find(window);
    return entry != nullptr ? entry->window.title : std::string();
}

bool SimulatedWindowSystem::IsMinimized(WindowId window) {
    const Entry* entry = Find(window);
    return entry != nullptr && entry->window.state == ShowState::Minimized;
}

bool SimulatedWindowSystem::Activate(WindowId window) {
    const auto found = std::find_if(m_windows.begin(), m_windows.end(), [&](const Entry& e) { return e.id == window; });
    if (found == m_windows.end()) {
        return false;
    }
    std::rotate(m_windows.begin(), found, found + 1);
    m_active = window;
    Record("activate", m_windows.front());
    return true;
}

bool SimulatedWindowSystem::Close(WindowId window, CloseMode mode) {
    Entry* entry = Find(window);
    if (entry == nullptr) {
        return false;
    }
    Record(mode == CloseMode::Wait ? "close" : "post close", *entry);
    if (entry->window.closes) {
        std::erase_if(m_windows, [&](const Entry& e) { return e.id == window; });
        if (m_active == window) {
            m_active = m_windows.empty() ? kNoWindow : m_windows.front().id;
        }
    }
    return true;
}

bool SimulatedWindowSystem::Show(WindowId window, ShowState state) {
    Entry* entry = Find(window);
    if (entry == nullptr) {
        return false;
    }
    const bool wasVisible = entry->window.state != ShowState::Hidden;
    static constexpr std::string_view kActions[] = {"restore", "minimize", "maximize", "hide"};
    Record(kActions[static_cast<int>(state)], *entry);
    entry->window.state = state;
    return wasVisible;
}

bool SimulatedWindowSystem::ClickAt(int x, int y, bool doubleClick) {
    for (const Entry& e : m_windows) {
        const Window& w = e.window;
        const bool shown = w.state == ShowState::Normal || w.state == ShowState::Maximized;
        if (shown && x >= w.x && y >= w.y && x < w.x + w.width && y < w.y + w.height) {
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
