#pragma once

#include <map>
#include <set>
#include <string>

#include "SimulatedEventPump.h"
#include "platform/Processes.h"

namespace ordwell {

// Programs that start in memory and end when a test says so. The transcript
// has one line a launch, the file in brackets and the parameter text after
// it: "open [notepad.exe] readme.txt", "print [report.txt]",
// "command dir > list.txt".
class SimulatedProcesses final : public Processes {
public:
    explicit SimulatedProcesses(SimulatedEventPump& pump) : m_pump(pump) {}

    std::unique_ptr<Process> Launch(LaunchVerb verb, std::string_view file, std::string_view parameters) override;
    bool RunCommandLine(std::string_view commandLine) override;
    bool IsProgram(std::string_view name) override { return m_programs.contains(name); }

    // Makes a name an existing program.
    void AddProgram(std::string name) { m_programs.insert(std::move(name)); }
    // Makes every later launch fail.
    void SetLaunchesFail(bool fail) { m_fail = fail; }
    // Ends the started program with that id now.
    void End(std::int64_t id);
    // The id of the program started last; 0 before any.
    std::int64_t LastId() const { return m_nextId - 1; }
    const std::string& Transcript() const { return m_transcript; }

private:
    SimulatedEventPump& m_pump;
    std::set<std::string, std::less<>> m_programs;
    std::map<std::int64_t, NativeHandle> m_running;
    std::set<std::int64_t> m_ended;
    std::int64_t m_nextId = 1;
    bool m_fail = false;
    std::string m_transcript;
    friend class SimulatedProcess;
};

} // namespace ordwell
