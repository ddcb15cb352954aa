#include "MacroRunner.h"

#include "CommandCall.h"
#include "Engine.h"
#include "LogWriter.h"
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

// Label names match without regard to letter case (ASCII letters).
std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

} // namespace

CMacroRunner::CMacroRunner(Engine& engine, std::string_view fileName) : m_engine(engine), m_fileName(fileName) {
    MacroFile file = LoadMacroFile(engine.GetPlatform(), fileName);
    m_loadStatus = file.status;
    m_text = std::move(file.text);
}

CMacroRunner::CMacroRunner(Engine& engine, const std::vector<std::string>& lines)
    : CMacroRunner(engine, MacroText::FromLines(lines)) {}

CMacroRunner::CMacroRunner(Engine& engine, MacroText text) : m_engine(engine), m_text(std::move(text)) {}

bool CMacroRunner::StopRequested() const {
    return m_stopRequest || m_engine.GetPlatform().stop.Raised();
}

bool CMacroRunner::Execute(std::string_view text) {
    return Execute(ParseLine(text));
}

bool CMacroRunner::Execute(const LineSyntax& syntax) {
    m_engine.LineStarting();
    bool result = true;
    if (syntax.command != nullptr) {
        const CommandInfo& info = *syntax.command;
        m_syntaxFlag = info.count.Accepts(syntax.Count());
        if (m_syntaxFlag && !m_engine.HasStackForAnotherLevel()) {
            // Nested too deep to run safely: the line fails like a syntax
            // error instead of overflowing the stack.
            m_engine.ReportProblem("nesting",
                                   "lines and macros are nested too deeply: a line failed instead of running");
            m_syntaxFlag = false;
            result = false;
        } else if (m_syntaxFlag) {
            ArgumentValues values;
            values.Substitute(syntax, m_engine.Variables());
            CommandCall call(*this, m_engine, syntax, values.Values());
            const CommandHandler handler = m_engine.Handler(info.id);
            result = handler != nullptr && handler(call);
        }
    } else if (syntax.kind == LineKind::Command) {
        m_syntaxFlag = false;
        result = false;
    }
    return syntax.negate ? !result : result;
}

int CMacroRunner::FindLabel(std::string_view name) const {
    // The label line holds nothing but the colon and the name; with two equal
    // labels the first wins. The lines never change, so the index is built
    // once, on the first jump.
    if (!m_labelsIndexed) {
        for (size_t i = 0; i < m_text.Count(); ++i) {
            if (const std::string_view line = m_text.Line(i); line.starts_with(':')) {
                m_labels.emplace(FoldCase(line), static_cast<int>(i));
            }
        }
        m_labelsIndexed = true;
    }
    std::string key = name.starts_with(':') ? std::string() : std::string(":");
    key.append(name);
    const auto found = m_labels.find(FoldCase(key));
    return found == m_labels.end() ? -1 : found->second;
}

const LineSyntax* CMacroRunner::CommandLineAt(int index) {
    if (const auto found = m_parsed.find(index); found != m_parsed.end()) {
        return &found->second;
    }
    const std::string_view line = m_text.Line(static_cast<size_t>(index));
    if (ClassifyLine(line) != LineKind::Command) {
        return nullptr;
    }
    return &m_parsed.emplace(index, ParseLine(m_text.Source(), line)).first->second;
}

bool CMacroRunner::Run() {
    RunScope scope(m_engine);
    m_stopRequest = false;
    m_outcome = RunOutcome::Completed;
    m_failedLine = 0;
    RunIcon& icon = m_engine.GetPlatform().runIcon;
    const int iconId = icon.Add("Stop Ordwell", [this] { RequestStop(); });

    const int count = static_cast<int>(m_text.Count());
    m_currentLine = 0;
    while (m_currentLine >= 0 && m_currentLine < count) {
        if (const LineSyntax* syntax = CommandLineAt(m_currentLine)) {
            Execute(*syntax);
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
    dialogs.ShowMessage(text, "Ordwell", MessageStyle::Ok);
}

} // namespace ordwell
