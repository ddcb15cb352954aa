#include "VirtualKeySyms.h"

#include <xkbcommon/xkbcommon.h>

namespace ordwell {

std::vector<std::uint32_t> KeySymsOfVirtualKey(std::uint8_t key) {
    if (key >= 'A' && key <= 'Z') {
        return {static_cast<std::uint32_t>(key - 'A' + XKB_KEY_a)};
    }
    if (key >= '0' && key <= '9') {
        return {static_cast<std::uint32_t>(key - '0' + XKB_KEY_0)};
    }
    if (key >= 0x70 && key <= 0x87) { // F1 to F24
        return {static_cast<std::uint32_t>(key - 0x70 + XKB_KEY_F1)};
    }
    if (key >= 0x60 && key <= 0x69) { // the keypad's digits
        return {static_cast<std::uint32_t>(key - 0x60 + XKB_KEY_KP_0)};
    }
    switch (key) {
    case 0x03:
        return {XKB_KEY_Break, XKB_KEY_Cancel};
    case 0x08:
        return {XKB_KEY_BackSpace};
    case 0x09:
        return {XKB_KEY_Tab, XKB_KEY_ISO_Left_Tab};
    case 0x0C:
        return {XKB_KEY_Clear, XKB_KEY_KP_Begin};
    case 0x0D:
        return {XKB_KEY_Return, XKB_KEY_KP_Enter};
    case 0x10:
        return {XKB_KEY_Shift_L, XKB_KEY_Shift_R};
    case 0x11:
        return {XKB_KEY_Control_L, XKB_KEY_Control_R};
    case 0x12:
        return {XKB_KEY_Alt_L, XKB_KEY_Meta_L, XKB_KEY_Alt_R};
    case 0x13:
        return {XKB_KEY_Pause};
    case 0x14:
        return {XKB_KEY_Caps_Lock};
    case 0x1B:
        return {XKB_KEY_Escape};
    case 0x20:
        return {XKB_KEY_space};
    case 0x21:
        return {XKB_KEY_Prior};
    case 0x22:
        return {XKB_KEY_Next};
    case 0x23:
        return {XKB_KEY_End};
    case 0x24:
        return {XKB_KEY_Home};
    case 0x25:
        return {XKB_KEY_Left};
    case 0x26:
        return {XKB_KEY_Up};
    case 0x27:
        return {XKB_KEY_Right};
    case 0x28:
        return {XKB_KEY_Down};
    case 0x2C:
        return {XKB_KEY_Print};
    case 0x2D:
        return {XKB_KEY_Insert};
    case 0x2E:
        return {XKB_KEY_Delete};
    case 0x2F:
        return {XKB_KEY_Help};
    case 0x5B:
        return {XKB_KEY_Super_L};
    case 0x5C:
        return {XKB_KEY_Super_R};
    case 0x5D:
        return {XKB_KEY_Menu};
    case 0x6A:
        return {XKB_KEY_KP_Multiply};
    case 0x6B:
        return {XKB_KEY_KP_Add};
    case 0x6D:
        return {XKB_KEY_KP_Subtract};
    case 0x6E:
        return {XKB_KEY_KP_Decimal};
    case 0x6F:
        return {XKB_KEY_KP_Divide};
    case 0x90:
        return {XKB_KEY_Num_Lock};
    case 0x91:
        return {XKB_KEY_Scroll_Lock};
    // The punctuation keys, by what they carry on the US layout.
    case 0xBA:
        return {XKB_KEY_semicolon};
    case 0xBB:
        return {XKB_KEY_equal};
    case 0xBC:
        return {XKB_KEY_comma};
    case 0xBD:
        return {XKB_KEY_minus};
    case 0xBE:
        return {XKB_KEY_period};
    case 0xBF:
        return {XKB_KEY_slash};
    case 0xC0:
        return {XKB_KEY_grave};
    case 0xDB:
        return {XKB_KEY_bracketleft};
    case 0xDC:
        return {XKB_KEY_backslash};
    case 0xDD:
        return {XKB_KEY_bracketright};
    case 0xDE:
        return {XKB_KEY_apostrophe};
    default:
        return {};
    }
}

std::optional<std::uint32_t> KeySymOfCharacter(char32_t character) {
    switch (character) {
    case '\r':
    case '\n':
        return XKB_KEY_Return;
    case '\t':
        return XKB_KEY_Tab;
    case '\b':
        return XKB_KEY_BackSpace;
    case 0x1B:
        return XKB_KEY_Escape;
    case 0x7F:
        return XKB_KEY_Delete;
    default:
        break;
    }
    if (character < 0x20 || (character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF) {
        return std::nullopt;
    }
    const std::uint32_t keysym = xkb_utf32_to_keysym(static_cast<std::uint32_t>(character));
    return keysym != XKB_KEY_NoSymbol ? std::optional<std::uint32_t>(keysym) : std::nullopt;
}

} // namespace ordwell
