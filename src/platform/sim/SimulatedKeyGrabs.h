#pragma once

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/KeyGrabs.h"

namespace ordwell {

// Key grabs a test can see and press, and combinations it can give to
// another program.
class SimulatedKeyGrabs final : public KeyGrabs {
public:
    int Grab(const KeyCombination& key, std::function<void()> pressed, GrabOutcome& outcome) override;
    void Release(int id) override { m_grabs.erase(id); }

    // The combinations grabbed now, in the order grabbed.
    std::vector<KeyCombination> Grabbed() const;
    // Presses the combination, as the user would anywhere on the desktop.
    void Press(const KeyCombination& key);
    // Another program holds the combination from now on.
    void TakeElsewhere(const KeyCombination& key) { m_taken.push_back(key); }
    // The window system acts on the combination itself from now on (as an
    // X server on a console switch), and gives it to no program.
    void Reserve(const KeyCombination& key) { m_reserved.push_back(key); }
    // The window system lets no program watch keys from now on.
    void SetAvailable(bool available) { m_available = available; }

private:
    struct Grabbing {
        KeyCombination key;
        std::function<void()> pressed;
    };
    std::map<int, Grabbing> m_grabs;
    std::vector<KeyCombination> m_taken;
    std::vector<KeyCombination> m_reserved;
    bool m_available = true;
    int m_nextId = 0;
};

} // namespace ordwell
