#pragma once

#include "platform/KeyGrabs.h"

namespace ordwell {

// No window system that lets a program watch keys (a terminal, Wayland).
class NullKeyGrabs final : public KeyGrabs {
public:
    int Grab(const KeyCombination&, std::function<void()>, GrabOutcome& outcome) override {
        outcome = GrabOutcome::Unavailable;
        return -1;
    }
    void Release(int) override {}
    bool MayGrab() const override { return false; }
};

} // namespace ordwell
