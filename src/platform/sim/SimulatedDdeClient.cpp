#include "SimulatedDdeClient.h"

namespace ordwell {

class SimulatedDdeConversation final : public DdeConversation {
public:
    SimulatedDdeConversation(SimulatedDdeClient& client, std::string prefix)
        : m_client(client), m_prefix(std::move(prefix)) {}

    bool Execute(std::string_view command, std::uint32_t) override {
        const bool refused = m_client.m_refused.contains(std::string(command));
        m_client.m_transcript.append(m_prefix).append(command).append(refused ? " (refused)\n" : "\n");
        return !refused;
    }

private:
    SimulatedDdeClient& m_client;
    std::string m_prefix;
};

std::unique_ptr<DdeConversation> SimulatedDdeClient::Connect(std::string_view application, std::string_view topic) {
    if (!m_topics.contains({std::string(application), std::string(topic)})) {
        return nullptr;
    }
    return std::make_unique<SimulatedDdeConversation>(*this,
                                                      std::string(application) + "|" + std::string(topic) + ": ");
}

} // namespace ordwell
