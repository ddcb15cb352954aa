#include "SimulatedDesktop.h"

namespace ordwell {

int SimulatedDesktop::MessageBox(const std::string& text, const std::string& caption, MessageStyle style) {
    m_boxes.push_back({"message", text, caption, style});
    if (m_answers.empty()) {
        return kAnswerOk;
    }
    const int answer = m_answers.front().first;
    m_answers.pop_front();
    return answer;
}

int SimulatedDesktop::InputBox(const std::string& prompt, const std::string& caption, std::string& text) {
    m_boxes.push_back({"input", prompt, caption, MessageStyle::OkCancelQuestion});
    if (m_answers.empty()) {
        return kAnswerCancel;
    }
    auto [answer, entry] = std::move(m_answers.front());
    m_answers.pop_front();
    if (answer == kAnswerOk) {
        text = std::move(entry);
    }
    return answer;
}

bool SimulatedDesktop::Beep() {
    ++m_beeps;
    return true;
}

int SimulatedDesktop::Add(const std::string& tooltip, std::function<void()> onClick) {
    const int id = m_nextIcon++;
    m_icons.emplace(id, std::make_pair(tooltip, std::move(onClick)));
    return id;
}

void SimulatedDesktop::Remove(int id) {
    m_icons.erase(id);
}

std::vector<std::string> SimulatedDesktop::Icons() const {
    std::vector<std::string> tips;
    for (const auto& [id, icon] : m_icons) {
        tips.push_back(icon.first);
    }
    return tips;
}

void SimulatedDesktop::ClickNewestIcon() {
    if (!m_icons.empty()) {
        m_icons.rbegin()->second.second();
    }
}

void SimulatedDesktop::RunDue() {
    while (!m_scheduled.empty() && m_scheduled.begin()->first <= m_monotonicMs) {
        auto action = std::move(m_scheduled.begin()->second);
        m_scheduled.erase(m_scheduled.begin());
        action();
    }
}

void SimulatedDesktop::DispatchPending() {
    ++m_dispatches;
    RunDue();
}

void SimulatedDesktop::WaitFor(std::uint32_t ms, const std::function<bool()>& stopRequested) {
    const std::uint64_t deadline = m_monotonicMs + ms;
    while (true) {
        DispatchPending();
        if (stopRequested()) {
            return;
        }
        if (m_scheduled.empty() || m_scheduled.begin()->first > deadline) {
            m_monotonicMs = deadline;
            DispatchPending();
            return;
        }
        m_monotonicMs = std::max(m_monotonicMs, m_scheduled.begin()->first);
    }
}

void SimulatedDesktop::At(std::uint64_t monotonicMs, std::function<void()> action) {
    m_scheduled.emplace(monotonicMs, std::move(action));
}

} // namespace ordwell
