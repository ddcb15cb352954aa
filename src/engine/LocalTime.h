#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace ordwell {

// The fields of a point in time (seconds since 1 January 1970) on the local
// calendar; nothing when the calendar cannot place it. Safe to call from
// any thread: nothing is shared between calls.
std::optional<std::tm> LocalTimeFields(std::int64_t now);

} // namespace ordwell
