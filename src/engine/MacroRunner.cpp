#include "MacroRunner.h"

#include "CommandCall.h"
#include "Engine.h"
#include "LogWriter.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/RunIcon.h"
#include "platform/StopSignal.h"

namespace ordwell {

namespace {

class NestingGuard {
public:
    explicit NestingGuard(int& nesting) : m_nesting(++nesting) {}
    ~NestingGuard() { --m_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& m_nesting;
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

std::vector<std::string> SplitMacroText(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!last && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

CMacroRunner::CMacroRunner(Engine& engine, const std::string& fileName) : m_engine(engine), m_fileName(fileName) {
    std::string text;
    const FileRead read = engine.GetPlatform().files->ReadRegularFile(fileName, kMaxMacroFileBytes, text);
    if (read == FileRead::Missing) {
        m_loadStatus = 1;
        return;
    }
    m_lines = SplitMacroText(text);
}

CMacroRunner::CMacroRunner(Engine& engine, std::vector<std::string> lines)
    : m_engine(engine), m_lines(std::move(lines)) {}

bool CMacroRunner::StopRequested() const {
    const StopSignal* signal = m_engine.GetPlatform().stop;
    return m_stopRequest || (signal != nullptr && signal->Raised());
}

bool CMacroRunner::Execute(std::string_view text) {
    return Execute(ParseLineSyntax(text));
}

bool CMacroRunner::Execute(const LineSyntax& syntax) {
    m_engine.PollEvents();
    int& nesting = m_engine.Nesting();
    if (nesting >= Engine::kMaxNesting) {
        // Nested too deep to run safely: the line fails like a syntax error.
        m_syntaxFlag = false;
        return false;
    }
    bool result = true;
    if (syntax.command != nullptr) {
        const CommandInfo& info = *syntax.command;
        const int count = static_cast<int>(syntax.args.size());
        m_syntaxFlag = info.args.Accepts(count);
        if (m_syntaxFlag) {
            NestingGuard guard(nesting);
            std::vector<std::string>& frame = m_engine.ArgumentFrame(nesting);
            frame.resize(syntax.args.size());
            const VariableStore& variables = m_engine.Variables();
            for (int i = 0; i < count; ++i) {
                const LineArgument& arg = syntax.args[static_cast<size_t>(i)];
                const int index = syntax.Substitutes(i + 1) ? VariableStore::Index(arg.text) : -1;
                frame[static_cast<size_t>(i)].assign(index >= 0 ? variables.Value(index) : arg.text);
            }
            CommandCall call(*this, m_engine, syntax, frame);
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
        for (size_t i = 0; i < m_lines.size(); ++i) {
            if (m_lines[i].starts_with(':')) {
                m_labels.emplace(FoldCase(m_lines[i]), static_cast<int>(i));
            }
        }
        m_labelsIndexed = true;
    }
    std::string key = name.starts_with(':') ? std::string() : std::string(":");
    key.append(name);
    const auto found = m_labels.find(FoldCase(key));
    return found == m_labels.end() ? -1 : found->second;
}

bool CMacroRunner::Run() {
    m_stopRequest = false;
    m_outcome = RunOutcome::Completed;
    m_failedLine = 0;
    RunIcon* icon = m_engine.GetPlatform().runIcon;
    const int iconId = icon != nullptr ? icon->Add("Stop Ordwell", [this] { RequestStop(); }) : -1;

    m_parsed.resize(m_lines.size());
    const int count = static_cast<int>(m_lines.size());
    m_currentLine = 0;
    while (m_currentLine >= 0 && m_currentLine < count) {
        const auto index = static_cast<size_t>(m_currentLine);
        if (ClassifyLine(m_lines[index]) == LineKind::Command) {
            if (!m_parsed[index]) {
                m_parsed[index] = std::make_unique<LineSyntax>(ParseLineSyntax(m_lines[index]));
            }
            Execute(*m_parsed[index]);
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
        icon->Remove(iconId);
    }
    return true;
}

void CMacroRunner::ReportFailedLine() {
    m_outcome = RunOutcome::Failed;
    m_failedLine = m_currentLine + 1;
    const std::string text = "Error at line: " + std::to_string(m_failedLine);
    Dialogs* dialogs = m_engine.GetPlatform().dialogs;
    if (dialogs != nullptr) {
        dialogs->Beep();
    }
    WriteErrorLog(m_engine, text);
    if (dialogs != nullptr) {
        dialogs->MessageBox(text, "Ordwell", MessageStyle::Ok);
    }
}

} // namespace ordwell
