#include "Engine.h"

#include "platform/Clock.h"
#include "platform/EventPump.h"

namespace ordwell {

namespace {
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
