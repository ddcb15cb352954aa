#include "LineCheck.h"

#include <algorithm>
#include <functional>

namespace ordwell {

LineFault ArgumentCheck(const LineSyntax& syntax) {
    if (syntax.kind != LineKind::Command) {
        return LineFault::None;
    }
    if (syntax.command == nullptr) {
        return LineFault::UnknownCommand;
    }
    return syntax.command->count.Accepts(syntax.Count()) ? LineFault::None : LineFault::WrongCount;
}

std::string FaultText(const LineSyntax& syntax, LineFault fault) {
    switch (fault) {
    case LineFault::None:
        break;
    case LineFault::UnknownCommand:
        return syntax.name.empty() ? std::string("the line names no command")
                                   : "unknown command \"" + std::string(syntax.name) + "\"";
    case LineFault::WrongCount: {
        const ArgCount& count = syntax.command->count;
        return std::string(syntax.command->name) + " takes " + ArgCountText(count) +
               (count.min == 1 && count.max == 1 ? " argument, " : " arguments, ") + std::to_string(syntax.Count()) +
               " given";
    }
    }
    return {};
}

std::string MissingLabelText(std::string_view label) {
    return "no label \":" + std::string(LabelName(label)) + "\" in this macro";
}

int ColumnIn(std::string_view line, std::string_view part) {
    const std::less_equal<const char*> notAfter;
    if (notAfter(line.data(), part.data()) && notAfter(part.data(), line.data() + line.size())) {
        return static_cast<int>(part.data() - line.data()) + 1;
    }
    return 1;
}

std::string_view LevelName(FindingLevel level) {
    switch (level) {
    case FindingLevel::Error:
        break;
    case FindingLevel::Warning:
        return "warning";
    case FindingLevel::Note:
        return "note";
    }
    return "error";
}

std::string FormatFinding(std::string_view file, int line, const LineFinding& finding) {
    return std::string(file) + ":" + std::to_string(line) + ":" + std::to_string(finding.column) + ": " +
           std::string(LevelName(finding.level)) + ": " + finding.message;
}

namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Whether the text reads as a whole number without anything left over.
bool IsWholeNumberText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// What a word outside the list of a choice does, by command.
std::string_view WrongChoiceEffect(CommandId id) {
    switch (id) {
    case CommandId::kSetCapsLock:
        return "it turns Caps Lock off";
    case CommandId::kRunProgram:
    case CommandId::kPrint:
        return "nothing starts and the line answers FALSE";
    default:
        return "the command answers FALSE";
    }
}

// Lines nested deeper than this are not followed (a run nests them as deep as
// its stack allows).
constexpr int kMaxDepth = 200;

class LineChecker {
public:
    LineChecker(std::string_view line, const CheckContext& context, std::vector<LineFinding>& out)
        : m_line(line), m_context(context), m_out(out) {}

    // Checks a line; a failure of its argument check is a finding of `level`
    // (a nested line that may fail without failing its outer line gives
    // warnings), with `context` said after it.
    void Check(const LineSyntax& syntax, FindingLevel level, std::string_view context, int depth = 0) {
        if (syntax.kind != LineKind::Command) {
            return;
        }
        if (depth > kMaxDepth) {
            Add(FindingLevel::Note, syntax.name, "cannot check lines nested this deeply");
            return;
        }
        if (const LineFault fault = ArgumentCheck(syntax); fault != LineFault::None) {
            Add(level, syntax.name, FaultText(syntax, fault) + std::string(context));
            return;
        }
        const CommandInfo& info = *syntax.command;
        for (int n = 1; n <= syntax.Count(); ++n) {
            CheckArgument(syntax, info, n, level, context, depth);
        }
    }

private:
    void Add(FindingLevel level, std::string_view at, std::string message) {
        m_out.push_back({level, ColumnIn(m_line, at), std::move(message)});
    }

    void CheckArgument(const LineSyntax& syntax, const CommandInfo& info, int n, FindingLevel level,
                       std::string_view context, int depth) {
        const LineArgument& arg = syntax.args[static_cast<size_t>(n - 1)];
        const ArgSpec param = info.Param(n);
        const bool fromVariable = arg.variable >= 0;
        switch (param.kind) {
        case ArgKind::Command:
            if (fromVariable) {
                Add(FindingLevel::Note, arg.text,
                    "cannot check the command in " + std::string(arg.text) +
                        ": it is read from the variable when the line runs");
            } else if (info.id == CommandId::kWhile && n == 2) {
                Check(syntax.Nested(n), FindingLevel::Warning,
                      " (While goes on: a failing command in its loop does not end the macro)", depth + 1);
            } else {
                Check(syntax.Nested(n), level, context, depth + 1);
            }
            break;
        case ArgKind::Label:
            CheckLabel(info, arg, level, context);
            break;
        case ArgKind::Keys:
            if (!fromVariable && m_context.keyText) {
                for (const KeyTextProblem& problem : m_context.keyText(arg.text)) {
                    const std::string_view at =
                        problem.offset <= arg.text.size() ? arg.text.substr(problem.offset) : arg.text;
                    Add(FindingLevel::Warning, at, problem.message);
                }
            }
            break;
        case ArgKind::Choice:
            if (!fromVariable &&
                std::find(param.choices.begin(), param.choices.end(), arg.text) == param.choices.end() &&
                !(info.id == CommandId::kPrint && arg.text.empty())) {
                std::string words;
                for (const std::string_view word : param.choices) {
                    words += (words.empty() ? "" : ", ") + std::string(word);
                }
                Add(FindingLevel::Warning, arg.text,
                    Quoted(arg.text) + " is none of " + words +
                        " (letter case counts): " + std::string(WrongChoiceEffect(info.id)));
            }
            break;
        case ArgKind::Number:
            if (info.id == CommandId::kDelay && !fromVariable && !IsWholeNumberText(arg.text)) {
                Add(FindingLevel::Warning, arg.text,
                    Quoted(arg.text) + " is no whole number of milliseconds: Delay reads it as " +
                        std::to_string(arg.text.empty() ? -1 : ReadWholeNumber(arg.text)));
            }
            break;
        case ArgKind::File:
            if (info.id == CommandId::kRunMacro && !fromVariable && m_context.fileExists &&
                !m_context.fileExists(arg.text)) {
                Add(FindingLevel::Warning, arg.text,
                    "no macro file " + Quoted(arg.text) + ": RunMacro runs nothing and answers FALSE");
            }
            break;
        default:
            break;
        }
    }

    void CheckLabel(const CommandInfo& info, const LineArgument& arg, FindingLevel level, std::string_view context) {
        if (arg.variable >= 0) {
            Add(FindingLevel::Note, arg.text,
                "cannot check the label in " + std::string(arg.text) +
                    ": it is read from the variable when the line runs");
            return;
        }
        if (!m_context.hasLabel || m_context.hasLabel(arg.text)) {
            return;
        }
        if (info.id == CommandId::kGoTo) {
            Add(level, arg.text, MissingLabelText(arg.text) + std::string(context));
        } else if (info.id == CommandId::kOnError && !arg.text.empty()) {
            Add(FindingLevel::Warning, arg.text, MissingLabelText(arg.text) + ": a failing line is skipped");
        }
    }

    std::string_view m_line;
    const CheckContext& m_context;
    std::vector<LineFinding>& m_out;
};

} // namespace

std::vector<LineFinding> CheckLine(const LineSyntax& syntax, std::string_view lineText, const CheckContext& context) {
    std::vector<LineFinding> findings;
    LineChecker(lineText, context, findings).Check(syntax, FindingLevel::Error, {});
    return findings;
}

} // namespace ordwell
