#include "KeyTextCheck.h"

#include <algorithm>
#include <string>

#include "KeyItem.h"
#include "KeyNameTable.h"
#include "text/Utf8.h"

namespace ordwell {

namespace {

// The item results of typing: go on, a group's ")", typing stops.
enum class Flow { Continue, GroupEnd, Stop };

// Groups and modifiers deeper than this are not followed.
constexpr int kMaxDepth = 1000;

bool IsCountText(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class KeyTextChecker {
public:
    explicit KeyTextChecker(std::string_view text) : m_text(text) {}

    std::vector<KeyTextProblem> Check() {
        std::size_t cursor = 0;
        while (cursor < m_text.size() && !m_tooDeep) {
            const std::size_t start = cursor;
            const Flow flow = Item(cursor, 0, false);
            if (flow == Flow::GroupEnd) {
                Add(start, "\")\" outside a group: nothing after it is typed");
            }
            if (flow != Flow::Continue) {
                break;
            }
        }
        return std::move(m_problems);
    }

private:
    void Add(std::size_t offset, std::string message) { m_problems.push_back({offset, std::move(message)}); }

    // Items until one gives other than Continue or the text ends.
    Flow Items(std::size_t& cursor, int depth, bool underModifier) {
        Flow flow = Flow::Continue;
        while (cursor < m_text.size() && flow == Flow::Continue) {
            flow = Item(cursor, depth, underModifier);
        }
        return flow;
    }

    // `underModifier`: a modifier holds the item or a group it lies in, and
    // ends the failure of a syntax error there.
    Flow Item(std::size_t& cursor, int depth, bool underModifier) {
        if (depth > kMaxDepth) {
            if (!m_tooDeep) {
                Add(cursor, "groups and modifiers nest too deeply to check");
            }
            m_tooDeep = true;
            return Flow::Stop;
        }
        const KeyItem item = ReadKeyItem(m_text, cursor);
        switch (item.kind) {
        case KeyItemKind::Modifier:
            // A failure under a modifier does not stop the typing.
            Item(cursor, depth + 1, true);
            return m_tooDeep ? Flow::Stop : Flow::Continue;
        case KeyItemKind::GroupOpen: {
            const Flow flow = Items(cursor, depth + 1, underModifier);
            if (flow == Flow::GroupEnd) {
                return Flow::Continue;
            }
            if (flow == Flow::Continue) {
                Add(item.start, "\"(\" without its \")\": typing stops at the end of the text");
            }
            return Flow::Stop;
        }
        case KeyItemKind::GroupClose:
            return Flow::GroupEnd;
        case KeyItemKind::UnclosedBrace:
            Add(item.start, underModifier ? "\"{\" without its \"}\": what follows is typed as it stands"
                                          : "\"{\" without its \"}\": typing stops here");
            return Flow::Stop;
        default:
            BraceToken(item);
            return Flow::Continue;
        }
    }

    void BraceToken(const KeyItem& item) {
        if (!item.braceToken) {
            return;
        }
        const std::string token = "{" + std::string(item.name) + (item.argument.empty() ? "" : " ...") + "}";
        if (!item.nameKnown && CountUtf8Chars(item.name) != 1) {
            Add(item.start, item.name.empty() ? "\"" + token + "\" names no key: it types nothing"
                                              : "\"" + std::string(item.name) +
                                                    "\" is no key name: its first character is typed instead");
            return;
        }
        if (item.kind == KeyItemKind::Action && item.code == keyaction::kActivate) {
            return;
        }
        if (!item.argument.empty() && !IsCountText(item.argument)) {
            Add(item.start, "\"" + std::string(item.argument) + "\" in \"" + token + "\" is no count: it reads as " +
                                std::to_string(item.count));
        } else if (item.kind != KeyItemKind::Action && item.countWritten && item.count < 1) {
            Add(item.start, "the count " + std::to_string(item.count) + " in \"" + token + "\" types nothing");
        } else if (item.kind == KeyItemKind::Action && item.code == keyaction::kDelay && item.count < 0) {
            Add(item.start, "the pause " + std::to_string(item.count) + " in \"" + token + "\" waits not at all");
        }
    }

    std::string_view m_text;
    std::vector<KeyTextProblem> m_problems;
    bool m_tooDeep = false;
};

} // namespace

std::vector<KeyTextProblem> CheckKeyText(std::string_view text) {
    return KeyTextChecker(text).Check();
}

} // namespace ordwell
