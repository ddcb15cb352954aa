#include "SimulatedProcesses.h"

namespace ordwell {

// A program of the simulation; its handle is ready once it has ended.
class SimulatedProcess final : public Process {
public:
    SimulatedProcess(SimulatedProcesses& owner, std::int64_t id, NativeHandle handle)
        : m_owner(owner), m_id(id), m_handle(handle) {}

    NativeHandle Handle() const override { return m_handle; }
    bool HasEnded() override { return m_owner.m_ended.contains(m_id); }
    std::int64_t Id() const override { return m_id; }

private:
    SimulatedProcesses& m_owner;
    std::int64_t m_id;
    NativeHandle m_handle;
};

std::unique_ptr<Process> SimulatedProcesses::Launch(LaunchVerb verb, std::string_view file,
                                                    std::string_view parameters) {
    m_transcript.append(verb == LaunchVerb::Print ? "print [" : "open [").append(file).append("]");
    if (!parameters.empty()) {
        m_transcript.append(" ").append(parameters);
    }
    m_transcript += '\n';
    if (m_fail || file.empty()) {
        return nullptr;
    }
    const std::int64_t id = m_nextId++;
    const NativeHandle handle = m_pump.NewHandle();
    m_running.emplace(id, handle);
    return std::make_unique<SimulatedProcess>(*this, id, handle);
}

bool SimulatedProcesses::RunCommandLine(std::string_view commandLine) {
    m_transcript.append("command ").append(commandLine).append("\n");
    return !m_fail;
}

void SimulatedProcesses::End(std::int64_t id) {
    const auto found = m_running.find(id);
    if (found == m_running.end()) {
        return;
    }
    m_pump.SetReady(found->second, true);
    m_ended.insert(id);
    m_running.erase(found);
}

} // namespace ordwell
