#include "SimulatedKeyGrabs.h"

#include <algorithm>

namespace ordwell {

int SimulatedKeyGrabs::Grab(const KeyCombination& key, std::function<void()> pressed, GrabOutcome& outcome) {
    if (!m_available) {
        outcome = GrabOutcome::Unavailable;
        return -1;
    }
    if (key.virtualKey == 0) {
        outcome = GrabOutcome::NoSuchKey;
        return -1;
    }
    if (std::find(m_reserved.begin(), m_reserved.end(), key) != m_reserved.end()) {
        outcome = GrabOutcome::Reserved;
        return -1;
    }
    if (std::find(m_taken.begin(), m_taken.end(), key) != m_taken.end()) {
        outcome = GrabOutcome::Taken;
        return -1;
    }
    outcome = GrabOutcome::Grabbed;
    const int id = m_nextId++;
    m_grabs.emplace(id, Grabbing{key, std::move(pressed)});
    return id;
}

std::vector<KeyCombination> SimulatedKeyGrabs::Grabbed() const {
    std::vector<KeyCombination> keys;
    for (const auto& [id, grab] : m_grabs) {
        keys.push_back(grab.key);
    }
    return keys;
}

void SimulatedKeyGrabs::Press(const KeyCombination& key) {
    // A callback may release grabs, its own included.
    std::vector<std::function<void()>> told;
    for (const auto& [id, grab] : m_grabs) {
        if (grab.key == key) {
            told.push_back(grab.pressed);
        }
    }
    for (const auto& pressed : told) {
        pressed();
    }
}

} // namespace ordwell
