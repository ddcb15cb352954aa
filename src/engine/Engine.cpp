#include "Engine.h"

#include "LogWriter.h"
#include "platform/Clock.h"
#include "platform/Diagnostics.h"
#include "platform/EventPump.h"
#include "platform/Registry.h"
#include "platform/StackSpace.h"

namespace ordwell {

Engine::Engine(const Platform& platform)
    : m_platform(platform), m_settings(platform.registry), m_intervalPassed(platform.clock.IntervalPassed()) {
    BindEngineCommands(*this);
    m_platform.diagnostics.LogNotices([this](std::string_view text) { WriteEventLog(*this, text); });
}

Engine::~Engine() {
    m_platform.diagnostics.LogNotices({});
}

bool Engine::HasStackForAnotherLevel() const {
    return m_platform.stack.BytesLeft() >= kStackReserve;
}

void Engine::LetEventsIn() {
    m_intervalPassed.store(false, std::memory_order_relaxed);
    m_platform.pump.DispatchPending();
}

void Engine::RunStarting() {
    if (m_runDepth++ > 0) {
        return;
    }
    m_platform.clock.StartIntervals(kEventIntervalMs);
    m_reported.clear();
    ReportRegistryProblem();
    m_runsStopped = false;
    for (const RunCompanion& make : m_companionMakers) {
        m_companions.push_back(make(*this));
    }
}

void Engine::RunEnded() {
    if (--m_runDepth == 0) {
        m_platform.clock.StopIntervals();
        // The last made goes first.
        while (!m_companions.empty()) {
            m_companions.pop_back();
        }
        // The store is opened when first used: a problem it found during the
        // run (settings read with their defaults) is said by its end.
        ReportRegistryProblem();
    }
}

void Engine::ReportRegistryProblem() {
    if (const std::string problem = m_platform.registry.Problem(); !problem.empty()) {
        ReportProblem("registry", problem);
    }
}

void Engine::ReportProblem(std::string_view topic, std::string_view text) {
    if (!m_reported.emplace(topic).second) {
        return;
    }
    m_platform.diagnostics.Report(text);
    WriteEventLog(*this, text);
}

} // namespace ordwell
