#include "KeyNameTable.h"

#include <array>

#include "engine/AsciiText.h"

namespace ordwell {

namespace {

constexpr std::array<KeyName, 56> kRows{{
    {"bksp", 0x08},
    {"break", 0x03},
    {"capslock", 0x14},
    {"clear", 0x0C},
    {"delete", 0x2E},
    {"down", 0x28},
    {"end", 0x23},
    {"enter", 0x0D},
    {"esc", 0x1B},
    {"help", 0x2F},
    {"home", 0x24},
    {"insert", 0x2D},
    {"left", 0x25},
    {"numlock", 0x90},
    {"pgdn", 0x22},
    {"pgup", 0x21},
    {"prtsc", 0x2C},
    {"pause", 0x13},
    {"right", 0x27},
    {"tab", 0x09},
    {"up", 0x26},
    {"scroll", 0x91},
    {"F1", 0x70},
    {"F2", 0x71},
    {"F3", 0x72},
    {"F4", 0x73},
    {"F5", 0x74},
    {"F6", 0x75},
    {"F7", 0x76},
    {"F8", 0x77},
    {"F9", 0x78},
    {"F10", 0x79},
    {"F11", 0x7A},
    {"F12", 0x7B},
    {"F13", 0x7C},
    {"F14", 0x7D},
    {"F15", 0x7E},
    {"F16", 0x7F},
    {"F17", 0x80},
    {"F18", 0x81},
    {"F19", 0x82},
    {"F20", 0x83},
    {"F21", 0x84},
    {"F22", 0x85},
    {"F23", 0x86},
    {"F24", 0x87},
    {"delay", keyaction::kDelay},
    {"date", keyaction::kDate},
    {"time", keyaction::kTime},
    {"day", keyaction::kDay},
    {"month", keyaction::kMonth},
    {"year", keyaction::kYear},
    {"hour", keyaction::kHour},
    {"minute", keyaction::kMinute},
    {"second", keyaction::kSecond},
    {"activate", keyaction::kActivate},
}};

} // namespace

std::span<const KeyName> KeyNameTable() {
    return kRows;
}

std::optional<std::uint8_t> LookUpKeyName(std::string_view name) {
    for (const KeyName& row : kRows) {
        if (EqualIgnoringAsciiCase(row.name, name)) {
            return row.code;
        }
    }
    return std::nullopt;
}

} // namespace ordwell
