#pragma once

#include "platform/DdeClient.h"

namespace ordwell {

// No session bus: no server can be reached.
class NullDdeClient final : public DdeClient {
public:
    std::unique_ptr<DdeConversation> Connect(std::string_view, std::string_view) override { return nullptr; }
};

} // namespace ordwell
