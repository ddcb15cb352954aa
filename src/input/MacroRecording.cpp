#include "MacroRecording.h"

#include <cstdlib>

#include "KeyCombinationText.h"
#include "KeyItem.h"
#include "KeyNameTable.h"
#include "platform/Keyboard.h"

namespace ordwell {

namespace {

bool IsLetterOrDigit(std::uint8_t virtualKey) {
    return (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9');
}

// Whether the key-name table names the key (Enter, Tab, F5, ...).
bool IsNamedKey(std::uint8_t virtualKey) {
    if (virtualKey == 0 || IsLetterOrDigit(virtualKey)) {
        return false;
    }
    for (const KeyName& row : KeyNameTable()) {
        if (row.code == virtualKey && !IsKeyAction(row.code)) {
            return true;
        }
    }
    return false;
}

// Whether a text is a character that types something: no control
// character (the keys that make those are named keys).
bool IsPrintable(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    const auto first = static_cast<unsigned char>(text[0]);
    return first >= 0x20 && first != 0x7F;
}

// A title for a quoted argument: the line's parser ends the argument at a
// quote followed by a comma or ")", so a title holding one is cut there and
// the rest left to a `*`, which matches it.
std::string QuotedTitle(std::string_view title) {
    for (std::size_t at = 0; at + 1 < title.size(); ++at) {
        if (title[at] == '"' && (title[at + 1] == ',' || title[at + 1] == ')')) {
            return std::string(title.substr(0, at)) + "*";
        }
    }
    return std::string(title);
}

} // namespace

std::string KeyLanguageText(std::string_view text) {
    std::string written;
    for (const char c : text) {
        // What the key language reads as other than the character itself
        // goes in braces, as do "}" (so that no brace is left unpaired to
        // the eye) and the quote, which could end the line's argument.
        std::size_t cursor = 0;
        const KeyItem item = ReadKeyItem(std::string_view(&c, 1), cursor);
        if (item.kind != KeyItemKind::Character || c == '}' || c == '"') {
            written += '{';
            written += c;
            written += '}';
        } else {
            written += c;
        }
    }
    return written;
}

MacroRecording::MacroRecording(RecordingRules rules) : m_rules(rules) {}

void MacroRecording::Add(const RecordedInput& input) {
    if (input.kind == RecordedInput::Kind::Key && m_rules.stopKey &&
        *m_rules.stopKey == KeyCombination{input.virtualKey, input.modifiers}) {
        return;
    }
    if (input.kind == RecordedInput::Kind::Window) {
        // Written before the next key or click that goes to it: a window
        // that only became active as the recording ended (a click on it,
        // the stop key) is no part of what was done.
        if (!input.title.empty()) {
            m_window = input.title;
        }
        return;
    }
    if (m_lastTime && input.timeMs - *m_lastTime > m_rules.pauseMs) {
        EndOpen();
        m_lines.push_back("Delay(" + std::to_string(input.timeMs - *m_lastTime) + ")");
    }
    m_lastTime = input.timeMs;
    switch (input.kind) {
    case RecordedInput::Kind::Key:
        AddKey(input);
        break;
    case RecordedInput::Kind::Click:
        AddClick(input);
        break;
    case RecordedInput::Kind::Window:
        break;
    }
}

void MacroRecording::AddKey(const RecordedInput& input) {
    const std::uint8_t held = input.modifiers;
    if ((held & (KeyCombination::kControl | KeyCombination::kAlt)) != 0) {
        std::string chord = KeyCombinationText(KeyCombination{input.virtualKey, held});
        if (chord.empty() && IsPrintable(input.text)) {
            // A character with no key of its own in the key language: the
            // modifiers around the character itself (its Shift is in it).
            chord = ((held & KeyCombination::kControl) != 0 ? "^" : "") +
                    std::string((held & KeyCombination::kAlt) != 0 ? "%" : "") + KeyLanguageText(input.text);
        }
        if (!chord.empty()) {
            EndOpen();
            EnterWindow();
            m_lines.push_back("SendKeys(\"" + chord + "\")");
        }
        return;
    }
    std::string piece;
    if (input.virtualKey == vk::kReturn && held == 0) {
        piece = "~";
    } else if (IsNamedKey(input.virtualKey)) {
        piece = KeyCombinationText(KeyCombination{input.virtualKey, held});
    } else if (IsPrintable(input.text)) {
        piece = KeyLanguageText(input.text);
    }
    if (!piece.empty()) {
        EndClick(m_lines);
        m_click.reset();
        if (m_window) {
            EndOpen();
            EnterWindow();
        }
        m_burst += piece;
    }
}

void MacroRecording::AddClick(const RecordedInput& input) {
    EndBurst(m_lines);
    m_burst.clear();
    if (m_window) {
        EndOpen();
        EnterWindow();
    }
    if (m_click && input.timeMs - m_click->timeMs <= m_rules.doubleClickMs &&
        std::abs(input.x - m_click->x) <= m_rules.doubleClickDistance &&
        std::abs(input.y - m_click->y) <= m_rules.doubleClickDistance) {
        m_lines.push_back("MouseDblClickScreen(" + std::to_string(m_click->x) + "," + std::to_string(m_click->y) + ")");
        m_click.reset();
        return;
    }
    EndClick(m_lines);
    m_click = input;
}

void MacroRecording::EnterWindow() {
    if (m_window) {
        m_lines.push_back("ActivateWindow(\"" + QuotedTitle(*m_window) + "\")");
        m_window.reset();
    }
}

void MacroRecording::EndClick(std::vector<std::string>& lines) const {
    if (m_click) {
        lines.push_back("MouseClickScreen(" + std::to_string(m_click->x) + "," + std::to_string(m_click->y) + ")");
    }
}

void MacroRecording::EndBurst(std::vector<std::string>& lines) const {
    if (!m_burst.empty()) {
        lines.push_back("SendKeys(\"" + m_burst + "\")");
    }
}

void MacroRecording::EndOpen() {
    EndClick(m_lines);
    m_click.reset();
    EndBurst(m_lines);
    m_burst.clear();
}

std::vector<std::string> MacroRecording::Lines() const {
    std::vector<std::string> lines = m_lines;
    EndClick(lines);
    EndBurst(lines);
    return lines;
}

} // namespace ordwell
