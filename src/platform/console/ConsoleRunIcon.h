#pragma once

#include "platform/RunIcon.h"

namespace ordwell {

// A terminal has no notification area; a run there is stopped with Ctrl+C.
class ConsoleRunIcon final : public RunIcon {
public:
    int Add(const std::string&, std::function<void()>) override { return -1; }
    void Remove(int) override {}
};

} // namespace ordwell
