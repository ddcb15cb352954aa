#include "LocalTime.h"

namespace ordwell {

std::optional<std::tm> LocalTimeFields(std::int64_t now) {
    const auto seconds = static_cast<std::time_t>(now);
    std::tm fields{};
    // The reentrant form: std::localtime answers in one buffer that every
    // thread of the process shares.
    if (localtime_r(&seconds, &fields) == nullptr) {
        return std::nullopt;
    }
    return fields;
}

} // namespace ordwell
