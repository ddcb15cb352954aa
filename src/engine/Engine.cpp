#include "Engine.h"

#include "platform/Clock.h"
#include "platform/EventPump.h"

namespace ordwell {

namespace {
// Nested lines kept parsed; a macro has few distinct ones, but texts built
// from variables could make endless new ones.
constexpr size_t kParsedLineCacheSize = 4096;
// How often, at most, a run whose lines never wait lets events in.
constexpr std::uint64_t kPollIntervalMs = 50;
} // namespace

Engine::Engine(const Platform& platform) : m_platform(platform), m_settings(*platform.registry) {
    // One frame per nesting level, made up front so that references to a
    // frame stay valid while deeper levels run.
    m_frames.resize(kMaxNesting + 2);
    BindEngineCommands(*this);
}

std::vector<std::string>& Engine::ArgumentFrame(int level) {
    return m_frames[static_cast<size_t>(level)];
}

const LineSyntax* Engine::ParsedLine(std::string_view text) {
    if (const auto found = m_parsedLines.find(text); found != m_parsedLines.end()) {
        return &found->second;
    }
    if (m_parsedLines.size() >= kParsedLineCacheSize) {
        return nullptr;
    }
    // Elements of the map never move, so the pointer stays valid for the
    // life of the engine.
    return &m_parsedLines.emplace(std::string(text), ParseLineSyntax(text)).first->second;
}

void Engine::PollEventsNow() {
    if (m_platform.clock == nullptr || m_platform.pump == nullptr) {
        return;
    }
    const std::uint64_t now = m_platform.clock->MonotonicMs();
    if (now - m_lastPollMs >= kPollIntervalMs) {
        m_lastPollMs = now;
        m_platform.pump->DispatchPending();
    }
}

} // namespace ordwell
