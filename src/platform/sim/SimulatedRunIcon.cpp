#include "SimulatedRunIcon.h"

namespace ordwell {

int SimulatedRunIcon::Add(const std::string& tooltip, std::function<void()> onClick) {
    const int id = m_nextId++;
    m_icons.emplace(id, Icon{tooltip, std::move(onClick)});
    return id;
}

std::vector<std::string> SimulatedRunIcon::Shown() const {
    std::vector<std::string> tips;
    for (const auto& [id, icon] : m_icons) {
        tips.push_back(icon.tooltip);
    }
    return tips;
}

void SimulatedRunIcon::ClickNewest() {
    if (!m_icons.empty()) {
        const auto onClick = m_icons.rbegin()->second.onClick;
        onClick();
    }
}

} // namespace ordwell
