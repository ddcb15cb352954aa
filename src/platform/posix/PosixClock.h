#pragma once

#include "platform/Clock.h"

namespace ordwell {

class PosixClock final : public Clock {
public:
    std::int64_t Now() const override;
    std::uint64_t MonotonicMs() const override;
    std::uint64_t CoarseMonotonicMs() const override;
};

} // namespace ordwell
