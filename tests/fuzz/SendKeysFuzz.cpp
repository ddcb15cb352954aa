// Fuzz target for the SendKeys language, on the simulated desktop: any text
// must be sent without a crash, end, and leave no key down. The first byte
// picks the key delay ('0': none, so items go back to back; anything else:
// 1 ms, so every item waits in the event pump); the rest is the text.
//   clang++ builds it as a libFuzzer target (ORDWELL_FUZZ=ON); other builds
//   link it with a driver that replays the corpus given on the command line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "engine/Engine.h"
#include "engine/MacroRunner.h"
#include "input/KeyTextCheck.h"
#include "input/SendKeysText.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/sim/SimulatedDesktop.h"

namespace {

using namespace ordwell;

// A stop request that comes after the text has looked for one so many
// times, as a user's Ctrl+C would: a count such as {a 2000000000} is obeyed,
// and would otherwise type for hours.
class PatientStop final : public StopSignal {
public:
    bool Raised() const override { return ++m_looks > kLooks; }
    void Reset() { m_looks = 0; }

private:
    static constexpr std::uint64_t kLooks = 200;
    mutable std::uint64_t m_looks = 0;
};

// The simulated desktop with one engine, and a window to activate.
struct Machine {
    explicit Machine(std::int32_t keyDelay) {
        Settings(registry).WriteInt("System", "KeyDelay", keyDelay);
        // Problems of the program are reported to the event log too.
        Settings(registry).WriteString("System", "EventLog", "/dev/null");
        sim.windows.Open({.title = "Untitled - Notepad"});
    }

    SimulatedDesktop sim;
    PatientStop stop;
    PosixStackSpace stack;
    SqliteRegistry registry{":memory:"};
    PosixFileSystem files;
    PosixPathMapping paths{[](char) { return std::string(); }};
    Engine engine{Platform{sim.clock,   sim.pump,     stop,         stack,       sim.diagnostics, registry,
                           files,       paths,        sim.system,   sim.dialogs, sim.clipboard,   sim.runIcon,
                           sim.windows, sim.keyboard, sim.keyGrabs, sim.pointer, sim.processes,   sim.session,
                           sim.dde,     sim.sound,    sim.recording}};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    static Machine withoutDelay(0);
    static Machine withDelay(1);
    Machine& machine = data[0] == '0' ? withoutDelay : withDelay;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    machine.stop.Reset();
    machine.sim.keyboard.ClearTranscript();
    machine.sim.windows.ClearTranscript();
    CMacroRunner runner(machine.engine, std::vector<std::string>{});
    SendKeysText(runner, text);
    if (!machine.sim.keyboard.Held().empty()) {
        std::abort(); // a key left down
    }
    for (const KeyTextProblem& problem : CheckKeyText(text)) {
        if (problem.offset > text.size()) {
            std::abort(); // a problem outside the text
        }
    }
    return 0;
}
