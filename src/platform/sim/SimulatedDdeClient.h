#pragma once

#include <set>
#include <string>
#include <utility>

#include "platform/DdeClient.h"

namespace ordwell {

// Servers in memory that take execute strings. The transcript has one line
// an execute string: "Application|Topic: command", with " (refused)" when
// the server refused it.
class SimulatedDdeClient final : public DdeClient {
public:
    std::unique_ptr<DdeConversation> Connect(std::string_view application, std::string_view topic) override;

    // Makes a server serve the topic of the application.
    void Serve(std::string application, std::string topic) {
        m_topics.emplace(std::move(application), std::move(topic));
    }
    // Makes every server refuse this execute string.
    void Refuse(std::string command) { m_refused.insert(std::move(command)); }
    const std::string& Transcript() const { return m_transcript; }

private:
    std::set<std::pair<std::string, std::string>> m_topics;
    std::set<std::string> m_refused;
    std::string m_transcript;
    friend class SimulatedDdeConversation;
};

} // namespace ordwell
