#include "SimulatedDdeClient.h"

namespace ordwell {

namespace {

// What becomes of a request: set at once, or by a timer of the pump.
struct SimulatedOutcome {
    std::optional<DdeError> value;
};

class SimulatedDdeRequest final : public DdeRequest {
public:
    SimulatedDdeRequest(NativeHandle handle, std::shared_ptr<const SimulatedOutcome> outcome)
        : m_handle(handle), m_outcome(std::move(outcome)) {}

    NativeHandle Handle() const override { return m_handle; }
    std::optional<DdeError> Outcome() override { return m_outcome->value; }

private:
    NativeHandle m_handle;
    std::shared_ptr<const SimulatedOutcome> m_outcome;
};

} // namespace

class SimulatedDdeChannel final : public DdeChannel {
public:
    SimulatedDdeChannel(SimulatedDdeClient& client, std::string application, std::string topic)
        : m_client(client), m_application(std::move(application)), m_topic(std::move(topic)) {}

    std::unique_ptr<DdeRequest> Initiate() override {
        const bool served = m_client.m_topics.contains(std::make_pair(m_application, m_topic));
        m_client.m_transcript.append("connect ").append(Name()).append(served ? "\n" : " (no server)\n");
        return m_client.Answer(served ? DdeError::None : DdeError::NoConversation, 0);
    }

    std::unique_ptr<DdeRequest> Execute(std::string_view command) override {
        const bool refused = m_client.m_refused.contains(command);
        m_client.m_transcript.append(Name()).append(": ").append(command).append(refused ? " (refused)\n" : "\n");
        return m_client.Answer(refused ? DdeError::NotProcessed : DdeError::None, m_client.m_executeDelayMs);
    }

private:
    std::string Name() const { return m_application + "|" + m_topic; }

    SimulatedDdeClient& m_client;
    std::string m_application;
    std::string m_topic;
};

DdeError SimulatedDdeClient::Initialize() {
    m_transcript.append(m_unavailable ? "initialize (failed)\n" : "initialize\n");
    m_initialized = !m_unavailable;
    return m_unavailable ? DdeError::SystemError : DdeError::None;
}

void SimulatedDdeClient::Uninitialize() {
    m_transcript.append("uninitialize\n");
    m_initialized = false;
}

std::unique_ptr<DdeChannel> SimulatedDdeClient::Channel(std::string_view application, std::string_view topic) {
    if (!m_initialized) {
        return nullptr;
    }
    return std::make_unique<SimulatedDdeChannel>(*this, std::string(application), std::string(topic));
}

std::unique_ptr<DdeRequest> SimulatedDdeClient::Answer(DdeError outcome, std::uint32_t delayMs) {
    const NativeHandle handle = m_pump.NewHandle();
    auto state = std::make_shared<SimulatedOutcome>();
    if (delayMs == 0) {
        state->value = outcome;
    } else {
        SimulatedEventPump& pump = m_pump;
        m_pump.After(delayMs, [state, outcome, handle, &pump] {
            state->value = outcome;
            pump.SetReady(handle, true);
        });
    }
    return std::make_unique<SimulatedDdeRequest>(handle, std::move(state));
}

} // namespace ordwell
