#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "Engine.h"
#include "MacroLine.h"

namespace ordwell {

class CMacroRunner;

// What a command handler sees of its line: the arguments after substitution,
// the runner and the engine. Handlers read their arguments through these
// helpers only, so every command reads each kind of argument alike.
class CommandCall {
public:
    CommandCall(CMacroRunner& runner, Engine& engine, const LineSyntax& syntax, const ArgumentValues& values)
        : m_runner(runner), m_engine(engine), m_syntax(syntax), m_values(values.Values()), m_numbers(values.Numbers()) {
    }

    int Count() const { return static_cast<int>(m_values.size()); }
    // Argument n (from 1) as text; empty when there is no such argument.
    std::string_view Text(int n) const { return n >= 1 && n <= Count() ? m_values[n - 1] : std::string_view(); }
    // Argument n as a whole number; -1 when it is empty or missing.
    std::int32_t Number(int n) const;
    // Argument n's number when its text is a plain whole number (see
    // PlainWholeNumber); nothing otherwise. Known without reading the text.
    std::optional<std::int32_t> PlainNumber(int n) const {
        return n >= 1 && n <= Count() ? m_numbers[static_cast<size_t>(n - 1)] : std::nullopt;
    }
    // Argument n as a path of this system (see PathMapping).
    std::string Path(int n) const;
    // Which word of the command's list argument n is (matched exactly,
    // letter case included); -1 for any other text.
    int Choice(int n) const;
    // Stores a value into the variable named by argument n; false (and
    // nothing stored) when the argument is no variable reference.
    bool Store(int n, std::string_view value) const;
    // The value of the variable named by argument n; empty when it names none.
    const std::string& Load(int n) const;
    // Whether argument n names a variable.
    bool IsVariable(int n) const { return VariableStore::IsReference(Text(n)); }
    // Fails the line (see CMacroRunner::FailLine) for the reason given.
    void FailLine(std::string reason) const;
    // Runs argument n as a line of its own and answers its condition result.
    bool RunNested(int n) const;

    CMacroRunner& Runner() const { return m_runner; }
    Engine& GetEngine() const { return m_engine; }
    const Platform& GetPlatform() const { return m_engine.GetPlatform(); }
    const CommandInfo& Info() const { return *m_syntax.command; }

private:
    CMacroRunner& m_runner;
    Engine& m_engine;
    const LineSyntax& m_syntax;
    std::span<const std::string_view> m_values;
    std::span<const std::optional<std::int32_t>> m_numbers;
};

} // namespace ordwell
