#pragma once

#include "platform/Session.h"

namespace ordwell {

// No session manager to ask (no system bus): nothing can be asked for.
class NullSession final : public Session {
public:
    Permission MayEnd(SessionEnd) override { return Permission::Unanswered; }
    bool Request(SessionEnd) override { return false; }
};

} // namespace ordwell
