#pragma once

#include "platform/RunIcon.h"

namespace ordwell {

// No notification area (a terminal): a run there is stopped with Ctrl+C.
class NullRunIcon final : public RunIcon {
public:
    int Add(const std::string&, std::function<void()>) override { return -1; }
    void Remove(int) override {}
};

} // namespace ordwell
