#pragma once

#include "platform/DdeClient.h"

namespace ordwell {

// No session bus: the program can be no client, so no server can be reached.
class NullDdeClient final : public DdeClient {
public:
    DdeError Initialize() override { return DdeError::SystemError; }
    void Uninitialize() override {}
    std::unique_ptr<DdeChannel> Channel(std::string_view, std::string_view) override { return nullptr; }
};

} // namespace ordwell
