#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "CommandCatalogue.h"
#include "MacroLine.h"
#include "Settings.h"
#include "VariableStore.h"
#include "platform/Platform.h"

namespace ordwell {

class CommandCall;

// Hashes std::string and std::string_view alike, so a lookup by view needs
// no copy.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using CommandHandler = bool (*)(CommandCall& call);

// The state one process keeps for all macro runs: the platform it runs on,
// the variables, the command handlers, and whatever the command groups keep
// between lines (text buffers, the last started program). Runners share it;
// nested runs included.
class Engine {
public:
    explicit Engine(const Platform& platform);
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

    // How deep lines and macros are nested right now, across runners. Past
    // kMaxNesting a line fails instead of running, so no macro can exhaust
    // the stack.
    static constexpr int kMaxNesting = 200;
    int& Nesting() { return m_nesting; }

    // Scratch argument lists, one per nesting level, reused so that running a
    // line does not allocate in the steady state.
    std::vector<std::string>& ArgumentFrame(int level);

    // The parse of a nested line, kept for the next time the same text runs
    // (the structure of a line depends on its text alone). Null once the
    // cache is full: the caller parses for itself.
    const LineSyntax* ParsedLine(std::string_view text);

    // Lets pending events in now and then, cheaply, so a run whose lines never
    // wait still sees a click on its run icon.
    void PollEvents() {
        if ((++m_lineCounter & 1023U) == 0) {
            PollEventsNow();
        }
    }

private:
    void PollEventsNow();

    Platform m_platform;
    VariableStore m_variables;
    Settings m_settings;
    std::array<CommandHandler, kCommandCount> m_handlers{};
    std::unordered_map<std::type_index, std::shared_ptr<void>> m_shared;
    std::vector<std::vector<std::string>> m_frames;
    std::unordered_map<std::string, LineSyntax, TextHash, std::equal_to<>> m_parsedLines;
    int m_nesting = 0;
    std::uint32_t m_lineCounter = 0;
    std::uint64_t m_lastPollMs = 0;
};

// Binds the commands of the engine itself: flow control, variables, dialogs
// and timing. The command groups of actions/ and input/ bind their own.
void BindEngineCommands(Engine& engine);

} // namespace ordwell
