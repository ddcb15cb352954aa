#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Engine.h"
#include "MacroLine.h"

namespace ordwell {

class CMacroRunner;

// What a command handler sees of its line: the arguments after substitution,
// the runner and the engine. Handlers read their arguments through these
// helpers only, so every command reads them alike.
class CommandCall {
public:
    CommandCall(CMacroRunner& runner, Engine& engine, const LineSyntax& syntax, const std::vector<std::string>& args)
        : m_runner(runner), m_engine(engine), m_syntax(syntax), m_args(args) {}

    int Count() const { return static_cast<int>(m_syntax.args.size()); }
    // Argument n (from 1) as text; empty when there is no such argument.
    const std::string& Text(int n) const;
    // Argument n as a whole number; -1 when it is empty or missing.
    std::int32_t Number(int n) const;
    // Stores a value into the variable named by argument n; false (and
    // nothing stored) when the argument is no variable reference.
    bool Store(int n, std::string_view value) const;
    // The value of the variable named by argument n; empty when it names none.
    const std::string& Load(int n) const;
    // Whether argument n names a variable.
    bool IsVariable(int n) const;

    CMacroRunner& Runner() const { return m_runner; }
    Engine& GetEngine() const { return m_engine; }
    const Platform& GetPlatform() const { return m_engine.GetPlatform(); }
    const LineSyntax& Syntax() const { return m_syntax; }

private:
    CMacroRunner& m_runner;
    Engine& m_engine;
    const LineSyntax& m_syntax;
    const std::vector<std::string>& m_args;
};

} // namespace ordwell
