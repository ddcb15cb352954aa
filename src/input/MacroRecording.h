#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/InputRecording.h"
#include "platform/KeyGrabs.h"

namespace ordwell {

// How recorded input becomes macro lines.
struct RecordingRules {
    // A pause longer than this, in milliseconds, becomes a Delay line.
    std::uint32_t pauseMs = 1000;
    // Two clicks within this time and this many pixels of each other are a
    // double click.
    std::uint32_t doubleClickMs = 500;
    int doubleClickDistance = 4;
    // The key that ends the recording, which is no part of it.
    std::optional<KeyCombination> stopKey;
};

// Recorded input as macro lines, built as the input comes:
//  - printable text and the named keys pressed without Ctrl or Alt go into
//    one SendKeys line per burst, the characters that mean something in the
//    key language written in braces so that the line types back exactly
//    what was typed ("{+}", "{{}", "{\"}" for a quote, which could end the
//    line's argument), Enter as "~", the other named keys as "{TAB}",
//    "+{TAB}";
//  - a key pressed with Ctrl or Alt is a line of its own ("^a", "%{F4}");
//  - another active window is ActivateWindow with its exact title, before
//    the first key or click that went to it;
//  - clicks are MouseClickScreen, two close together MouseDblClickScreen;
//  - a pause longer than the rule's is Delay with its milliseconds.
// A burst of text ends at a pause, a click, another window and a chord.
class MacroRecording final {
public:
    explicit MacroRecording(RecordingRules rules = {});

    void Add(const RecordedInput& input);
    // The lines of everything added so far, the open burst included.
    std::vector<std::string> Lines() const;

private:
    void AddKey(const RecordedInput& input);
    void AddClick(const RecordedInput& input);
    // Writes the click that waited for a second one.
    void EndClick(std::vector<std::string>& lines) const;
    void EndBurst(std::vector<std::string>& lines) const;
    void EndOpen();
    // Writes the change of the active window that waited for an input.
    void EnterWindow();

    RecordingRules m_rules;
    std::vector<std::string> m_lines;
    std::string m_burst;
    std::optional<RecordedInput> m_click;
    std::optional<std::string> m_window;
    std::optional<std::uint32_t> m_lastTime;
};

// A text in the key language that types `text` exactly.
std::string KeyLanguageText(std::string_view text);

} // namespace ordwell
