#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace ordwell {

// One open conversation with a server about a topic. Ends when destroyed.
class DdeConversation {
public:
    virtual ~DdeConversation() = default;
    // Sends one execute string. False on a refusal, an error, or when no
    // answer came within the timeout.
    virtual bool Execute(std::string_view command, std::uint32_t timeoutMs) = 0;
};

// Conversations with other programs that serve an application and topics,
// as execute strings.
class DdeClient {
public:
    virtual ~DdeClient() = default;
    // Null when no server serves the application and topic.
    virtual std::unique_ptr<DdeConversation> Connect(std::string_view application, std::string_view topic) = 0;
};

} // namespace ordwell
