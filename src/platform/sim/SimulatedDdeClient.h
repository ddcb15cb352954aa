#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>

#include "SimulatedEventPump.h"
#include "platform/DdeClient.h"

namespace ordwell {

// Servers in memory that take execute strings. The transcript has one line
// an event:
//   "initialize", "initialize (failed)", "uninitialize"
//   "connect Application|Topic", with " (no server)" when none serves it
//   "Application|Topic: command", with " (refused)" when the server refused
//   the execute string
// A server answers at once, or, when a test says so, after a delay in the
// simulated time of the event pump.
class SimulatedDdeClient final : public DdeClient {
public:
    explicit SimulatedDdeClient(SimulatedEventPump& pump) : m_pump(pump) {}

    DdeError Initialize() override;
    void Uninitialize() override;
    std::unique_ptr<DdeChannel> Channel(std::string_view application, std::string_view topic) override;

    // Makes a server serve the topic of the application.
    void Serve(std::string application, std::string topic) {
        m_topics.emplace(std::move(application), std::move(topic));
    }
    // Makes every server refuse this execute string.
    void Refuse(std::string command) { m_refused.insert(std::move(command)); }
    // Makes every server answer execute strings this many milliseconds after
    // they were sent.
    void SetExecuteDelay(std::uint32_t ms) { m_executeDelayMs = ms; }
    // Makes the service unreachable: the program can become no client.
    void SetUnavailable(bool unavailable) { m_unavailable = unavailable; }
    bool Initialized() const { return m_initialized; }
    const std::string& Transcript() const { return m_transcript; }

private:
    std::unique_ptr<DdeRequest> Answer(DdeError outcome, std::uint32_t delayMs);

    SimulatedEventPump& m_pump;
    std::set<std::pair<std::string, std::string>, std::less<>> m_topics;
    std::set<std::string, std::less<>> m_refused;
    std::uint32_t m_executeDelayMs = 0;
    bool m_unavailable = false;
    bool m_initialized = false;
    std::string m_transcript;
    friend class SimulatedDdeChannel;
};

} // namespace ordwell
