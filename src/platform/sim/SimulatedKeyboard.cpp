#include "SimulatedKeyboard.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "text/Utf8.h"

namespace ordwell {

namespace {

// Punctuation of the US layout: the unshifted and the shifted character of
// each key.
struct PunctuationKey {
    std::uint8_t key;
    char plain;
    char shifted;
};
constexpr std::array<PunctuationKey, 11> kPunctuation{{
    {0xBA, ';', ':'},
    {0xBB, '=', '+'},
    {0xBC, ',', '<'},
    {0xBD, '-', '_'},
    {0xBE, '.', '>'},
    {0xBF, '/', '?'},
    {0xC0, '`', '~'},
    {0xDB, '[', '{'},
    {0xDC, '\\', '|'},
    {0xDD, ']', '}'},
    {0xDE, '\'', '"'},
}};
// The shifted characters of the digit keys 0 to 9.
constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";

} // namespace

std::uint16_t SimulatedKeyboard::UsLayoutKey(char32_t c) {
    if (c >= 'a' && c <= 'z') {
        return static_cast<std::uint16_t>(c - 'a' + 'A');
    }
    if (c >= 'A' && c <= 'Z') {
        return static_cast<std::uint16_t>(0x100 | c);
    }
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint16_t>(c);
    }
    if (const size_t digit = kShiftedDigits.find(static_cast<char>(c)); c < 0x80 && digit != std::string_view::npos) {
        return static_cast<std::uint16_t>(0x100 | ('0' + digit));
    }
    for (const PunctuationKey& p : kPunctuation) {
        if (c == static_cast<unsigned char>(p.plain)) {
            return p.key;
        }
        if (c == static_cast<unsigned char>(p.shifted)) {
            return static_cast<std::uint16_t>(0x100 | p.key);
        }
    }
    switch (c) {
    case ' ':
        return 0x20;
    case '\t':
        return 0x09;
    case '\r':
        return 0x0D;
    case '\n':
        return 0x20D; // Ctrl+Enter
    case '\b':
        return 0x08;
    case 0x1B:
        return 0x1B;
    default:
        return 0xFFFF;
    }
}

std::string SimulatedKeyboard::KeyName(std::uint8_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= 0x70 && key <= 0x87) {
        return "F" + std::to_string(key - 0x70 + 1);
    }
    for (const PunctuationKey& p : kPunctuation) {
        if (p.key == key) {
            return std::string(1, p.plain);
        }
    }
    switch (key) {
    case 0x03:
        return "Break";
    case 0x08:
        return "Backspace";
    case 0x09:
        return "Tab";
    case 0x0C:
        return "Clear";
    case 0x0D:
        return "Enter";
    case 0x10:
        return "Shift";
    case 0x11:
        return "Ctrl";
    case 0x12:
        return "Alt";
    case 0x13:
        return "Pause";
    case 0x14:
        return "CapsLock";
    case 0x1B:
        return "Esc";
    case 0x20:
        return "Space";
    case 0x21:
        return "PgUp";
    case 0x22:
        return "PgDn";
    case 0x23:
        return "End";
    case 0x24:
        return "Home";
    case 0x25:
        return "Left";
    case 0x26:
        return "Up";
    case 0x27:
        return "Right";
    case 0x28:
        return "Down";
    case 0x2C:
        return "PrtSc";
    case 0x2D:
        return "Insert";
    case 0x2E:
        return "Delete";
    case 0x2F:
        return "Help";
    case 0x90:
        return "NumLock";
    case 0x91:
        return "Scroll";
    default: {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", key);
        return hex;
    }
    }
}

void SimulatedKeyboard::Append(std::string_view token) {
    if (!m_transcript.empty()) {
        m_transcript += ' ';
    }
    m_transcript += token;
}

void SimulatedKeyboard::Event(std::uint8_t key, bool down) {
    Append(KeyName(key) + (down ? "↓" : "↑"));
    if (down) {
        m_held.insert(key);
        if (key == vk::kCapital && m_locks) {
            m_locks->capsLock = !m_locks->capsLock;
            if (m_lockWatch) {
                m_lockWatch();
            }
        }
    } else {
        m_held.erase(key);
    }
}

void SimulatedKeyboard::SetCapsLock(std::optional<bool> on) {
    if (!on) {
        m_locks.reset();
        return;
    }
    m_locks = m_locks.value_or(LockKeyState{});
    m_locks->capsLock = *on;
}

bool SimulatedKeyboard::Type(std::span<const KeyStroke> strokes) {
    if (m_unreachable) {
        return strokes.empty();
    }
    for (const KeyStroke& stroke : strokes) {
        switch (stroke.kind) {
        case KeyStroke::Kind::Down:
            Event(stroke.virtualKey, true);
            break;
        case KeyStroke::Kind::Up:
            Event(stroke.virtualKey, false);
            break;
        case KeyStroke::Kind::Character: {
            const std::uint16_t scan = UsLayoutKey(stroke.character);
            if (scan == 0xFFFF) {
                std::string token;
                AppendUtf8(token, stroke.character);
                Append(token);
                break;
            }
            const auto key = static_cast<std::uint8_t>(scan & 0xFF);
            const bool shift = (scan >> 8) == 1;
            if (shift) {
                Event(vk::kShift, true);
            }
            Event(key, true);
            Event(key, false);
            if (shift) {
                Event(vk::kShift, false);
            }
            break;
        }
        }
    }
    return true;
}

void SimulatedKeyboard::EndText() {
    while (!m_held.empty()) {
        Event(*m_held.begin(), false);
    }
}

} // namespace ordwell
