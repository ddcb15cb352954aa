#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

class Settings;

// One hotkey: a key combination in the SendKeys language ("^%{F5}") and the
// macro file it runs.
struct Hotkey {
    std::string key;
    std::string macro;
    friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

// The table of hotkeys in the settings: section "Hotkeys", "Count" rows of
// "Key1", "Macro1", "Key2", "Macro2", ...
inline constexpr std::string_view kHotkeysSection = "Hotkeys";

std::vector<Hotkey> ReadHotkeys(const Settings& settings);
// Writes the rows and their count. False when the store took not all of it.
bool WriteHotkeys(Settings& settings, const std::vector<Hotkey>& table);

} // namespace ordwell
