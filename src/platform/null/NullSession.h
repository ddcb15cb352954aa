#pragma once

#include "platform/Session.h"

namespace ordwell {

// No session manager to ask (no system bus): nothing is allowed.
class NullSession final : public Session {
public:
    bool Allowed(SessionEnd) override { return false; }
    bool Request(SessionEnd) override { return false; }
};

} // namespace ordwell
