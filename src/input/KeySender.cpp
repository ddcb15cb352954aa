#include "KeySender.h"

#include "KeyItem.h"
#include "KeyNameTable.h"
#include "actions/DateTime.h"
#include "actions/WindowLookup.h"
#include "actions/WindowWaits.h"
#include "engine/Engine.h"
#include "engine/MacroLine.h"
#include "engine/MacroRunner.h"
#include "engine/SystemSettings.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"

namespace ordwell {

namespace {

// Strokes gathered before they go to the keyboard, at most: a long text
// starts arriving at once and its batches stay small.
constexpr std::size_t kBatchStrokes = 1024;
constexpr std::int64_t kSecondsPerDay = 86400;

const Platform& PlatformOf(CMacroRunner& runner) {
    return runner.GetEngine().GetPlatform();
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// One field of the local time, as a number.
std::int64_t LocalField(std::int64_t now, std::string_view conversion) {
    return ReadWholeNumber(FormatLocalTime(now, conversion));
}

} // namespace

KeySender::KeySender(CMacroRunner& runner) : m_runner(runner) {}

KeySender::~KeySender() {
    Flush();
    PlatformOf(m_runner).keyboard.EndText();
}

std::int32_t KeySender::KeyDelay(CMacroRunner& runner) {
    const std::int32_t delay = runner.GetEngine().GetSettings().GetInt(kSystemSection, kKeyDelayKey, kDefaultKeyDelay);
    return delay > 0 ? delay : 0;
}

bool KeySender::Stopped() const {
    return m_runner.StopRequested();
}

bool KeySender::Ended() const {
    // Nothing more can arrive once a stroke could not be delivered (no
    // display, or it went away): the rest is neither typed nor waited for.
    return !m_delivered || Stopped();
}

void KeySender::Add(const KeyStroke& stroke) {
    m_pending.push_back(stroke);
    if (m_pending.size() >= kBatchStrokes) {
        Flush();
    }
}

void KeySender::Flush() {
    if (m_pending.empty()) {
        return;
    }
    if (!PlatformOf(m_runner).keyboard.Type(m_pending)) {
        m_delivered = false;
    }
    m_pending.clear();
}

void KeySender::PressKey(std::uint8_t virtualKey, bool down) {
    Add(down ? KeyStroke::Press(virtualKey) : KeyStroke::Release(virtualKey));
}

void KeySender::KeyPause(std::int32_t ms) {
    // A negative pause is none (not the better part of two months).
    if (ms <= 0 || Ended()) {
        return;
    }
    Flush();
    if (!m_delivered) {
        return;
    }
    PlatformOf(m_runner).pump.WaitFor(static_cast<std::uint32_t>(ms), [this] { return Stopped(); });
}

int KeySender::SendKeyString(std::string_view text) {
    std::size_t cursor = 0;
    return SendItems(text, cursor);
}

int KeySender::SendItems(std::string_view text, std::size_t& cursor) {
    const std::int32_t delay = KeyDelay(m_runner);
    int result = itemresult::kContinue;
    while (cursor < text.size() && result == itemresult::kContinue && !Ended()) {
        result = SendKeyItem(text, cursor);
        KeyPause(delay);
    }
    return result;
}

int KeySender::SendKeyItem(std::string_view text, std::size_t& cursor) {
    if (cursor >= text.size()) {
        return itemresult::kContinue;
    }
    // Modifiers and groups nest as deep as the stack allows (each is an item
    // within an item); deeper, the text ends there, as at a syntax error.
    Engine& engine = m_runner.GetEngine();
    if (!engine.HasStackForAnotherLevel()) {
        engine.ReportProblem("keys nesting", "a SendKeys text nests modifiers and groups too deeply: it ended there");
        m_tooDeep = true;
        return itemresult::kSyntaxError;
    }
    const KeyItem item = ReadKeyItem(text, cursor);
    switch (item.kind) {
    case KeyItemKind::End:
    case KeyItemKind::Nothing:
        return itemresult::kContinue;
    case KeyItemKind::Modifier: {
        PressKey(item.code, true);
        // Its result is not passed on: a failed item under a modifier goes
        // on, unless the text has ended for being nested too deeply.
        const int inner = SendKeyItem(text, cursor);
        PressKey(item.code, false);
        return m_tooDeep ? inner : itemresult::kContinue;
    }
    case KeyItemKind::Enter:
        PressNamedKey(item.code, 1);
        return itemresult::kContinue;
    case KeyItemKind::GroupOpen: {
        const int result = SendItems(text, cursor);
        if (result == itemresult::kGroupEnd) {
            return itemresult::kContinue;
        }
        // A group the text ended in, unclosed, is an error; so is any error within.
        return result == itemresult::kContinue && !Stopped() ? itemresult::kSyntaxError : result;
    }
    case KeyItemKind::GroupClose:
        return itemresult::kGroupEnd;
    case KeyItemKind::UnclosedBrace:
        return itemresult::kSyntaxError;
    case KeyItemKind::Character:
        TypeCharacter(item.character, item.count);
        return itemresult::kContinue;
    case KeyItemKind::NamedKey:
        PressNamedKey(item.code, item.count);
        return itemresult::kContinue;
    case KeyItemKind::Action:
        return PerformAction(item.code, item.argument, item.countWritten, item.count);
    }
    return itemresult::kContinue;
}

int KeySender::PerformAction(std::uint8_t action, std::string_view argument, bool countWritten, std::int32_t count) {
    const Platform& platform = PlatformOf(m_runner);
    const std::int64_t now = platform.clock.Now();
    const std::int64_t added = countWritten ? count : 0;
    // A field moved by the count, reduced to its range only when the count
    // was written and the sum passes the top (no wrap below zero).
    const auto field = [&](std::string_view conversion, std::int64_t wrap) {
        std::int64_t value = LocalField(now, conversion) + added;
        if (wrap > 0 && countWritten && value >= wrap) {
            value %= wrap;
        }
        return std::to_string(value);
    };
    switch (action) {
    case keyaction::kDelay:
        KeyPause(count);
        break;
    case keyaction::kDate:
        SendKeyString(FormatLocalTime(now + added * kSecondsPerDay, "%m/%d/%y"));
        break;
    case keyaction::kTime:
        SendKeyString(FormatLocalTime(now + added, "%H:%M:%S"));
        break;
    case keyaction::kDay:
        SendKeyString(field("%d", 0));
        break;
    case keyaction::kMonth:
        SendKeyString(field("%m", 0));
        break;
    case keyaction::kYear:
        SendKeyString(field("%Y", 0));
        break;
    case keyaction::kHour:
        SendKeyString(field("%H", 24));
        break;
    case keyaction::kMinute:
        SendKeyString(field("%M", 60));
        break;
    case keyaction::kSecond:
        SendKeyString(field("%S", 60));
        break;
    case keyaction::kActivate: {
        // The exact title, as written between the spaces; keys typed so far
        // go to the window that had the focus.
        Flush();
        const WindowId window = FindWindowByExactTitle(platform.windows, TrimSpaces(argument));
        if (window != kNoWindow) {
            platform.windows.Activate(window, RunWaitBound(m_runner, kActivationBoundMs));
        }
        break;
    }
    default:
        break;
    }
    return itemresult::kContinue;
}

void KeySender::TypeCharacter(char32_t character, std::int32_t count) {
    for (std::int32_t i = 0; i < count && !Ended(); ++i) {
        Add(KeyStroke::Type(character));
    }
}

void KeySender::PressNamedKey(std::uint8_t virtualKey, std::int32_t count) {
    for (std::int32_t i = 0; i < count && !Ended(); ++i) {
        Add(KeyStroke::Press(virtualKey));
        Add(KeyStroke::Release(virtualKey));
    }
}

} // namespace ordwell
