#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "CommandCatalogue.h"
#include "Settings.h"
#include "VariableStore.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

namespace ordwell {

class CommandCall;

using CommandHandler = bool (*)(CommandCall& call);

// The state one process keeps for all macro runs: the platform it runs on,
// the variables, the command handlers, and whatever the command groups keep
// between lines (text buffers, the last started program). Runners share it;
// nested runs included.
class Engine {
public:
    // The platform's notices go to the event log too while this lives.
    explicit Engine(const Platform& platform);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const Platform& GetPlatform() const { return m_platform; }
    VariableStore& Variables() { return m_variables; }
    Settings& GetSettings() { return m_settings; }

    // Binds a handler to a command. A command without one passes its argument
    // check and answers FALSE.
    void Bind(CommandId id, CommandHandler handler) { m_handlers[static_cast<size_t>(id)] = handler; }
    CommandHandler Handler(CommandId id) const { return m_handlers[static_cast<size_t>(id)]; }

    // State a command group keeps for the life of the process, created on
    // first use.
    template <class T> T& Shared() {
        auto& slot = m_shared[std::type_index(typeid(T))];
        if (!slot) {
            slot = std::shared_ptr<void>(new T(), [](void* p) { delete static_cast<T*>(p); });
        }
        return *static_cast<T*>(slot.get());
    }

    // The stack a command may need for itself (a modal box, a window system
    // call) beyond the line that runs it. Lines and macros nest as deep as the
    // stack allows while this much stays free; a line that would go deeper
    // fails instead of running.
    static constexpr std::size_t kStackReserve = std::size_t{256} << 10;
    bool HasStackForAnotherLevel() const;

    // Called before every line: lets pending events in (a click on the run
    // icon, Ctrl+C) once every kEventIntervalMs the clock marks while a macro
    // runs, so that a run whose lines never wait still answers at once.
    static constexpr std::uint64_t kEventIntervalMs = 50;
    void LineStarting() {
        if (m_intervalPassed.load(std::memory_order_relaxed)) {
            LetEventsIn();
        }
    }

    // A macro run begins and ends; runs nest (RunMacro).
    void RunStarting();
    void RunEnded();

    // Asks every run going on, nested ones included, to stop after the line
    // it runs (the stop key). The next run starts afresh.
    void StopRuns() { m_runsStopped = true; }
    bool RunsStopped() const { return m_runsStopped; }
    // Something that lasts as long as a run (nested runs included): made by
    // `make` as the outermost run begins, destroyed as it ends.
    using RunCompanion = std::function<std::shared_ptr<void>(Engine& engine)>;
    void AddRunCompanion(RunCompanion make) { m_companionMakers.push_back(std::move(make)); }

    // Tells the person running the program about a problem no macro line
    // reports (standard error and the event log), once per topic in a run.
    void ReportProblem(std::string_view topic, std::string_view text);

private:
    void LetEventsIn();
    void ReportRegistryProblem();

    Platform m_platform;
    VariableStore m_variables;
    Settings m_settings;
    std::array<CommandHandler, kCommandCount> m_handlers{};
    std::unordered_map<std::type_index, std::shared_ptr<void>> m_shared;
    std::atomic<bool>& m_intervalPassed;
    int m_runDepth = 0;
    bool m_runsStopped = false;
    std::vector<RunCompanion> m_companionMakers;
    std::vector<std::shared_ptr<void>> m_companions; // of the run going on
    std::set<std::string, std::less<>> m_reported;
};

// Binds the commands of the engine itself: flow control, variables, dialogs
// and timing. The command groups of actions/ and input/ bind their own.
void BindEngineCommands(Engine& engine);

} // namespace ordwell
