#pragma once

#include <string>
#include <utility>

#include "platform/InputRecording.h"

namespace ordwell {

// No window system that lets a program watch input: a terminal, or Wayland,
// where no protocol lets a client see what goes to other clients.
class NullInputRecording final : public InputRecording {
public:
    explicit NullInputRecording(std::string reason) : m_reason(std::move(reason)) {}
    bool Start(Seen, std::string& problem) override {
        problem = m_reason;
        return false;
    }
    void Stop() override {}

private:
    std::string m_reason;
};

} // namespace ordwell
