#include "MacroRunner.h"

#include <algorithm>
#include <functional>
#include <new>
#include <span>
#include <string_view>

#include "AsciiText.h"
#include "CommandCall.h"
#include "Engine.h"
#include "LineCheck.h"
#include "LogWriter.h"
#include "platform/Diagnostics.h"
#include "platform/Dialogs.h"
#include "platform/RunIcon.h"
#include "platform/StopSignal.h"

namespace ordwell {

namespace {

// Counts a run in the engine for as long as it lasts.
class RunScope {
public:
    explicit RunScope(Engine& engine) : m_engine(engine) { m_engine.RunStarting(); }
    ~RunScope() { m_engine.RunEnded(); }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    Engine& m_engine;
};

// The system ends a name at its first NUL byte, so a file or directory
// argument holding one would name another file than the line wrote (the part
// before the NUL). Such a line touches nothing and fails.
bool HoldsNulInPath(const CommandInfo& info, std::span<const std::string_view> values) {
    for (size_t i = 0; i < values.size(); ++i) {
        const ArgKind kind = info.Param(static_cast<int>(i) + 1).kind;
        if ((kind == ArgKind::File || kind == ArgKind::Directory) && values[i].find('\0') != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

// Label names match without regard to letter case (ASCII letters).
size_t CMacroRunner::LabelHash::operator()(std::string_view name) const {
    // FNV-1a over the folded letters.
    size_t hash = 14695981039346656037ULL;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(AsciiUpper(c))) * 1099511628211ULL;
    }
    return hash;
}

bool CMacroRunner::LabelEqual::operator()(std::string_view a, std::string_view b) const {
    return SameLabel(a, b);
}

CMacroRunner::CMacroRunner(Engine& engine, std::string_view fileName)
    : CMacroRunner(engine, LoadMacroFile(engine.GetPlatform(), fileName)) {
    m_fileName = fileName;
}

CMacroRunner::CMacroRunner(Engine& engine, MacroFile file) : CMacroRunner(engine, std::move(file.text)) {
    m_loadStatus = file.status;
}

CMacroRunner::CMacroRunner(Engine& engine, const std::vector<std::string>& lines)
    : CMacroRunner(engine, MacroText::FromLines(lines)) {}

CMacroRunner::CMacroRunner(Engine& engine, MacroText text)
    : m_engine(engine), m_text(std::move(text)), m_parsed(m_text.Count()) {}

bool CMacroRunner::StopRequested() const {
    return m_stopRequest || m_engine.RunsStopped() || m_engine.GetPlatform().stop.Raised();
}

bool CMacroRunner::Execute(std::string_view text) {
    return Execute(ParseLine(text));
}

bool CMacroRunner::Execute(const LineSyntax& syntax) {
    return RunLine(syntax, m_engine.HasStackForAnotherLevel());
}

bool CMacroRunner::RunLine(const LineSyntax& syntax, bool stackLeft) {
    m_engine.LineStarting();
    bool result = true;
    if (syntax.command != nullptr) {
        const CommandInfo& info = *syntax.command;
        const LineFault fault = ArgumentCheck(syntax);
        m_syntaxFlag = fault == LineFault::None;
        if (!m_syntaxFlag) {
            NoteFailure(syntax.name, FaultText(syntax, fault));
        } else if (!stackLeft) {
            // Nested too deep to run safely: the line fails like a syntax
            // error instead of overflowing the stack.
            m_engine.ReportProblem("nesting",
                                   "lines and macros are nested too deeply: a line failed instead of running");
            FailLine(syntax.name, "lines and macros are nested too deeply to run this line");
            result = false;
        } else {
            result = RunCommand(info, syntax);
        }
    } else if (syntax.kind == LineKind::Command) {
        FailLine(syntax.name, FaultText(syntax, LineFault::UnknownCommand));
        result = false;
    }
    return syntax.negate ? !result : result;
}

bool CMacroRunner::RunCommand(const CommandInfo& info, const LineSyntax& syntax) {
    try {
        ArgumentValues values;
        values.Substitute(syntax, m_engine.Variables());
        if (HoldsNulInPath(info, values.Values())) {
            m_engine.ReportProblem("nul in path", "a file name held a NUL byte: a line failed and touched nothing");
            return false;
        }
        CommandCall call(*this, m_engine, syntax, values);
        const CommandHandler handler = m_engine.Handler(info.id);
        return handler != nullptr && handler(call);
    } catch (const std::bad_alloc&) {
        // Whatever the line had taken is given back by now: the line fails,
        // and the macro goes on as after any failed line.
        m_engine.ReportProblem("memory", "a line ran out of memory: it failed");
        return false;
    }
}

void CMacroRunner::FailLine(std::string_view at, std::string reason) {
    m_syntaxFlag = false;
    NoteFailure(at, std::move(reason));
}

void CMacroRunner::NoteFailure(std::string_view at, std::string reason) {
    const int index = m_currentLine;
    m_failureColumn = index >= 0 && static_cast<size_t>(index) < m_text.Count()
                          ? ColumnIn(m_text.Line(static_cast<size_t>(index)), at)
                          : 1;
    m_failureReason = std::move(reason);
}

int CMacroRunner::FindLabel(std::string_view name) const {
    // The label line holds nothing but the colon and the name; with two equal
    // labels the first wins. The lines never change, so the index is built
    // once, on the first jump.
    if (!m_labelsIndexed) {
        for (size_t i = 0; i < m_text.Count(); ++i) {
            if (const std::string_view line = m_text.Line(i); line.starts_with(':')) {
                m_labels.emplace(line.substr(1), static_cast<int>(i));
            }
        }
        m_labelsIndexed = true;
    }
    if (name.starts_with(':')) {
        name.remove_prefix(1);
    }
    // A loop jumps to the same label again and again, mostly from one line,
    // and the text of the macro never changes: a name that lies at the same
    // place of that text as last time is the same name.
    if (m_lastJump) {
        if (!name.empty() && name.data() == m_lastJump->place.data() && name.size() == m_lastJump->place.size()) {
            return m_lastJump->index;
        }
        if (name == m_lastJump->name) {
            m_lastJump->place = InMacroText(name) ? name : std::string_view();
            return m_lastJump->index;
        }
    }
    const auto found = m_labels.find(name);
    const int index = found == m_labels.end() ? -1 : found->second;
    m_lastJump = LastJump{std::string(name), InMacroText(name) ? name : std::string_view(), index};
    return index;
}

bool CMacroRunner::InMacroText(std::string_view text) const {
    if (!m_text.Source()) {
        return false;
    }
    const std::string_view source = *m_text.Source();
    const std::less_equal<const char*> notAfter;
    return notAfter(source.data(), text.data()) && notAfter(text.data() + text.size(), source.data() + source.size());
}

bool CMacroRunner::Run() {
    RunScope scope(m_engine);
    m_stopRequest = false;
    m_outcome = RunOutcome::Completed;
    m_failedLine = 0;
    RunIcon& icon = m_engine.GetPlatform().runIcon;
    const int iconId = icon.Add("Stop Ordwell", [this] { RequestStop(); });

    // Every line of the macro itself runs at the same depth of the stack.
    const bool stackLeft = m_engine.HasStackForAnotherLevel();
    const int count = static_cast<int>(m_text.Count());
    m_currentLine = 0;
    while (m_currentLine >= 0 && m_currentLine < count) {
        if (const LineSyntax* syntax = m_parsed.At(m_text, m_currentLine)) {
            RunLine(*syntax, stackLeft);
            if (StopRequested()) {
                m_outcome = RunOutcome::Stopped;
                break;
            }
            if (!m_syntaxFlag) {
                if (!m_errorLabel.empty()) {
                    const int label = FindLabel(m_errorLabel);
                    if (label >= 0) {
                        m_currentLine = label;
                    }
                } else {
                    ReportFailedLine();
                    break;
                }
            }
        }
        ++m_currentLine;
    }

    if (iconId >= 0) {
        icon.Remove(iconId);
    }
    return true;
}

void CMacroRunner::ReportFailedLine() {
    m_outcome = RunOutcome::Failed;
    m_failedLine = m_currentLine + 1;
    const std::string text = "Error at line: " + std::to_string(m_failedLine);
    Dialogs& dialogs = m_engine.GetPlatform().dialogs;
    dialogs.Beep();
    WriteErrorLog(m_engine, text);
    // The box and the error log keep their text; whoever started the run
    // also learns why the line failed, in the form of a macro check.
    const LineFinding finding{FindingLevel::Error, m_failureColumn,
                              m_failureReason.empty() ? std::string("the line failed") : m_failureReason};
    const std::string reason = FormatFinding(m_fileName.empty() ? "macro" : m_fileName, m_failedLine, finding);
    m_engine.GetPlatform().diagnostics.Report(reason);
    WriteEventLog(m_engine, reason);
    dialogs.ShowMessage(m_reasonInBox ? text + "\n\n" + finding.message : text, "Ordwell", MessageStyle::Ok);
}

} // namespace ordwell
