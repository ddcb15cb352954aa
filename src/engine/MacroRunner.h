#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "MacroFile.h"
#include "MacroLine.h"
#include "MacroText.h"
#include "ParsedLines.h"

namespace ordwell {

class Engine;

// How a run ended.
enum class RunOutcome {
    NotRun,    // Run was not called yet
    Completed, // ran past its last line
    Stopped,   // ExitMacro, the run icon or a stop signal
    Failed,    // ended on a failed line that no error label handled
};

// Runs one macro: owns its lines, walks them, dispatches each command line,
// follows jumps and reports failed lines.
class CMacroRunner {
public:
    // Loads the macro file (a path as macros write it); LoadStatus() tells
    // how that went.
    CMacroRunner(Engine& engine, std::string_view fileName);
    CMacroRunner(Engine& engine, const std::vector<std::string>& lines);
    CMacroRunner(Engine& engine, MacroText text);
    CMacroRunner(const CMacroRunner&) = delete;
    CMacroRunner& operator=(const CMacroRunner&) = delete;

    // Runs every line from the first. Always TRUE; Outcome() says how it ended.
    bool Run();
    // Parses and runs one line and returns its condition result.
    bool Execute(std::string_view text);
    // Runs a line already parsed.
    bool Execute(const LineSyntax& syntax);
    // The index of the label line, or -1.
    int FindLabel(std::string_view name) const;

    // Asks the run to stop after the current line (the run icon, Stop).
    void RequestStop() { m_stopRequest = true; }
    bool StopRequested() const;

    bool SyntaxFlag() const { return m_syntaxFlag; }
    // Fails the line that runs: clears the syntax flag and keeps the reason,
    // with where in the line (`at`, a view into its text) it lies, for the
    // report of the failed line.
    void FailLine(std::string_view at, std::string reason);
    // Why the line that failed last failed.
    const std::string& FailureReason() const { return m_failureReason; }
    // 0 loaded (or made from lines), 1 the file does not exist, 2 it exists
    // but cannot be read as a macro.
    int LoadStatus() const { return static_cast<int>(m_loadStatus); }
    const std::string& FileName() const { return m_fileName; }
    // The name the report of a failed line gives the macro.
    void SetFileName(std::string name) { m_fileName = std::move(name); }
    // Whether the box of a failed line gives its reason below "Error at
    // line: N" (the editor's runs; the error log keeps its one line).
    void SetReasonInBox(bool on) { m_reasonInBox = on; }
    std::vector<std::string> Lines() const { return m_text.Lines(); }
    int CurrentLine() const { return m_currentLine; }
    void SetCurrentLine(int index) { m_currentLine = index; }
    const std::string& ErrorLabel() const { return m_errorLabel; }
    void SetErrorLabel(std::string label) { m_errorLabel = std::move(label); }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption) { m_caption = std::move(caption); }
    const std::string& LastInputText() const { return m_lastInputText; }
    void SetLastInputText(std::string text) { m_lastInputText = std::move(text); }
    int LastResponse() const { return m_lastResponse; }
    void SetLastResponse(int response) { m_lastResponse = response; }
    RunOutcome Outcome() const { return m_outcome; }
    // 1-based number of the line that ended the run as failed; 0 otherwise.
    int FailedLine() const { return m_failedLine; }
    Engine& GetEngine() const { return m_engine; }

private:
    CMacroRunner(Engine& engine, MacroFile file);
    void ReportFailedLine();
    void NoteFailure(std::string_view at, std::string reason);
    // Runs a line parsed; `stackLeft` tells whether the stack has room for
    // it (see Engine::HasStackForAnotherLevel).
    bool RunLine(const LineSyntax& syntax, bool stackLeft);
    // Runs the command of a line whose syntax is right: its arguments
    // substituted and checked, then its handler. A line that runs out of
    // memory fails; no exception leaves it.
    bool RunCommand(const CommandInfo& info, const LineSyntax& syntax);

    Engine& m_engine;
    bool m_syntaxFlag = true;
    bool m_reasonInBox = false;
    MacroLoad m_loadStatus = MacroLoad::Loaded;
    std::string m_fileName;
    MacroText m_text;
    int m_currentLine = 0;
    bool m_stopRequest = false;
    std::string m_errorLabel;
    std::string m_lastInputText;
    std::string m_caption;
    int m_lastResponse = 0;
    RunOutcome m_outcome = RunOutcome::NotRun;
    int m_failedLine = 0;
    std::string m_failureReason; // why the line that failed last failed
    int m_failureColumn = 1;     // and where in its line
    ParsedLines m_parsed;        // the lines that ran of late
    struct LabelHash {
        size_t operator()(std::string_view name) const;
    };
    struct LabelEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };
    // Label name (a view into the text) -> the index of its first line.
    mutable std::unordered_map<std::string_view, int, LabelHash, LabelEqual> m_labels;
    mutable bool m_labelsIndexed = false;
    // Whether the text is a view into the text of the macro.
    bool InMacroText(std::string_view text) const;
    // The label the last jump looked for, as written, and what it found;
    // `place` is where the name lies in the text of the macro, when it does.
    struct LastJump {
        std::string name;
        std::string_view place;
        int index = -1;
    };
    mutable std::optional<LastJump> m_lastJump;
};

} // namespace ordwell
