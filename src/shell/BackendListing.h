#pragma once

#include <string>

#include "platform/BackendSet.h"

namespace ordwell {

// What `ordwell --backends` prints: one line per part, "windows: x11
// (DISPLAY=:1)", and the notice a run would give, if any.
std::string BackendListing(const BackendReport& report);

} // namespace ordwell
