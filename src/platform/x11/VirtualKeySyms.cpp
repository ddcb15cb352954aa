#include "VirtualKeySyms.h"

#include <X11/keysym.h>

namespace ordwell {

std::vector<std::uint32_t> KeySymsOfVirtualKey(std::uint8_t key) {
    if (key >= 'A' && key <= 'Z') {
        return {static_cast<std::uint32_t>(key - 'A' + XK_a)};
    }
    if (key >= '0' && key <= '9') {
        return {static_cast<std::uint32_t>(key - '0' + XK_0)};
    }
    if (key >= 0x70 && key <= 0x87) { // F1 to F24
        return {static_cast<std::uint32_t>(key - 0x70 + XK_F1)};
    }
    if (key >= 0x60 && key <= 0x69) { // the keypad's digits
        return {static_cast<std::uint32_t>(key - 0x60 + XK_KP_0)};
    }
    switch (key) {
    case 0x03:
        return {XK_Break, XK_Cancel};
    case 0x08:
        return {XK_BackSpace};
    case 0x09:
        return {XK_Tab, XK_ISO_Left_Tab};
    case 0x0C:
        return {XK_Clear, XK_KP_Begin};
    case 0x0D:
        return {XK_Return, XK_KP_Enter};
    case 0x10:
        return {XK_Shift_L, XK_Shift_R};
    case 0x11:
        return {XK_Control_L, XK_Control_R};
    case 0x12:
        return {XK_Alt_L, XK_Meta_L, XK_Alt_R};
    case 0x13:
        return {XK_Pause};
    case 0x14:
        return {XK_Caps_Lock};
    case 0x1B:
        return {XK_Escape};
    case 0x20:
        return {XK_space};
    case 0x21:
        return {XK_Prior};
    case 0x22:
        return {XK_Next};
    case 0x23:
        return {XK_End};
    case 0x24:
        return {XK_Home};
    case 0x25:
        return {XK_Left};
    case 0x26:
        return {XK_Up};
    case 0x27:
        return {XK_Right};
    case 0x28:
        return {XK_Down};
    case 0x2C:
        return {XK_Print};
    case 0x2D:
        return {XK_Insert};
    case 0x2E:
        return {XK_Delete};
    case 0x2F:
        return {XK_Help};
    case 0x5B:
        return {XK_Super_L};
    case 0x5C:
        return {XK_Super_R};
    case 0x5D:
        return {XK_Menu};
    case 0x6A:
        return {XK_KP_Multiply};
    case 0x6B:
        return {XK_KP_Add};
    case 0x6D:
        return {XK_KP_Subtract};
    case 0x6E:
        return {XK_KP_Decimal};
    case 0x6F:
        return {XK_KP_Divide};
    case 0x90:
        return {XK_Num_Lock};
    case 0x91:
        return {XK_Scroll_Lock};
    // The punctuation keys, by what they carry on the US layout.
    case 0xBA:
        return {XK_semicolon};
    case 0xBB:
        return {XK_equal};
    case 0xBC:
        return {XK_comma};
    case 0xBD:
        return {XK_minus};
    case 0xBE:
        return {XK_period};
    case 0xBF:
        return {XK_slash};
    case 0xC0:
        return {XK_grave};
    case 0xDB:
        return {XK_bracketleft};
    case 0xDC:
        return {XK_backslash};
    case 0xDD:
        return {XK_bracketright};
    case 0xDE:
        return {XK_apostrophe};
    default:
        return {};
    }
}

} // namespace ordwell
