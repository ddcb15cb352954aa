#include "WaylandKeymap.h"

#include <xkbcommon/xkbcommon.h>

#include "platform/xkb/VirtualKeySyms.h"

namespace ordwell {

namespace {

// Keycode 8 is evdev's reserved code 0, which compositors may drop; the
// last one X programs can read is 255.
constexpr std::uint32_t kFirstKeycode = 9;
constexpr std::uint32_t kLastKeycode = 255;

// The modifier each modifier keysym holds.
std::uint32_t ModifierOfKeySym(std::uint32_t keysym) {
    switch (keysym) {
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R:
        return WaylandKeymap::kShift;
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R:
        return WaylandKeymap::kControl;
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
    case XKB_KEY_Meta_L:
        return WaylandKeymap::kAlt;
    case XKB_KEY_Super_L:
    case XKB_KEY_Super_R:
        return WaylandKeymap::kSuper;
    case XKB_KEY_Caps_Lock:
        return WaylandKeymap::kLock;
    case XKB_KEY_Num_Lock:
        return WaylandKeymap::kNumLock;
    default:
        return 0;
    }
}

const char* ModifierName(std::uint32_t modifier) {
    switch (modifier) {
    case WaylandKeymap::kShift:
        return "Shift";
    case WaylandKeymap::kLock:
        return "Lock";
    case WaylandKeymap::kControl:
        return "Control";
    case WaylandKeymap::kAlt:
        return "Mod1";
    case WaylandKeymap::kNumLock:
        return "Mod2";
    case WaylandKeymap::kSuper:
        return "Mod4";
    default:
        return nullptr;
    }
}

std::string KeySymName(std::uint32_t keysym) {
    char name[64] = {};
    if (xkb_keysym_get_name(keysym, name, sizeof name) <= 0) {
        return "NoSymbol";
    }
    return name;
}

} // namespace

WaylandKeymap::WaylandKeymap() {
    // Every printable ASCII character first, so that the virtual keys of
    // letters, digits and punctuation find the keys of their characters.
    std::vector<char32_t> ascii;
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        ascii.push_back(c);
    }
    Add(ascii);
    for (int code = 1; code < 256; ++code) {
        const auto virtualKey = static_cast<std::uint8_t>(code);
        const std::vector<std::uint32_t> keysyms = KeySymsOfVirtualKey(virtualKey);
        if (keysyms.empty()) {
            continue;
        }
        std::optional<Place> place = OfKeySym(keysyms.front());
        if (!place) {
            place = Place{AddKey({{keysyms.front()}, ModifierOfKeySym(keysyms.front())}), false};
        }
        m_virtualKeys[virtualKey] = place->keycode;
    }
    m_fixedKeys = m_keys.size();
}

std::uint32_t WaylandKeymap::AddKey(Key key) {
    const auto keycode = static_cast<std::uint32_t>(kFirstKeycode + m_keys.size());
    for (std::size_t level = 0; level < key.keysyms.size(); ++level) {
        m_places.emplace(key.keysyms[level], Place{keycode, level == 1});
    }
    m_keys.push_back(std::move(key));
    ++m_generation;
    return keycode;
}

std::optional<WaylandKeymap::Place> WaylandKeymap::OfKeySym(std::uint32_t keysym) const {
    const auto found = m_places.find(keysym);
    return found != m_places.end() ? std::optional<Place>(found->second) : std::nullopt;
}

std::optional<WaylandKeymap::Place> WaylandKeymap::OfCharacter(char32_t character) const {
    const std::optional<std::uint32_t> keysym = KeySymOfCharacter(character);
    return keysym ? OfKeySym(*keysym) : std::nullopt;
}

std::optional<WaylandKeymap::Place> WaylandKeymap::OfVirtualKey(std::uint8_t virtualKey) const {
    const auto found = m_virtualKeys.find(virtualKey);
    return found != m_virtualKeys.end() ? std::optional<Place>(Place{found->second, false}) : std::nullopt;
}

std::uint32_t WaylandKeymap::ModifierOf(std::uint32_t keycode) const {
    if (keycode < kFirstKeycode || keycode - kFirstKeycode >= m_keys.size()) {
        return 0;
    }
    return m_keys[keycode - kFirstKeycode].modifier;
}

std::uint32_t WaylandKeymap::KeyOfModifier(std::uint32_t modifier) const {
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i].modifier == modifier) {
            return static_cast<std::uint32_t>(kFirstKeycode + i);
        }
    }
    return 0;
}

std::size_t WaylandKeymap::Room() const {
    return kLastKeycode + 1 - kFirstKeycode - m_keys.size();
}

std::size_t WaylandKeymap::Add(const std::vector<char32_t>& characters) {
    std::size_t placed = 0;
    for (const char32_t character : characters) {
        const std::optional<std::uint32_t> keysym = KeySymOfCharacter(character);
        if (!keysym) {
            continue;
        }
        if (OfKeySym(*keysym)) {
            ++placed;
            continue;
        }
        if (Room() == 0) {
            break;
        }
        const std::uint32_t lower = xkb_keysym_to_lower(*keysym);
        const std::uint32_t upper = xkb_keysym_to_upper(*keysym);
        // A pair only where each case is the other's, and neither has a key
        // yet (the lower case of the Kelvin sign is k, say).
        if (lower != upper && xkb_keysym_to_upper(lower) == upper && xkb_keysym_to_lower(upper) == lower &&
            !OfKeySym(lower) && !OfKeySym(upper)) {
            AddKey({{lower, upper}, 0});
        } else {
            AddKey({{*keysym}, ModifierOfKeySym(*keysym)});
        }
        ++placed;
    }
    return placed;
}

void WaylandKeymap::Reset() {
    if (m_keys.size() == m_fixedKeys) {
        return;
    }
    for (std::size_t i = m_fixedKeys; i < m_keys.size(); ++i) {
        for (const std::uint32_t keysym : m_keys[i].keysyms) {
            m_places.erase(keysym);
        }
    }
    m_keys.resize(m_fixedKeys);
    ++m_generation;
}

std::string WaylandKeymap::Text() const {
    std::string text = "xkb_keymap {\n";
    text += "xkb_keycodes \"ordwell\" {\n    minimum = 8;\n    maximum = " + std::to_string(kLastKeycode) + ";\n";
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const std::string code = std::to_string(kFirstKeycode + i);
        text += "    <I" + code + "> = " + code + ";\n";
    }
    text += "};\n";
    // The types and interpretations every XKB installation has.
    text += "xkb_types \"ordwell\" { include \"complete\" };\n";
    text += "xkb_compatibility \"ordwell\" { include \"complete\" };\n";
    text += "xkb_symbols \"ordwell\" {\n";
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const Key& key = m_keys[i];
        text += "    key <I" + std::to_string(kFirstKeycode + i) + "> { type = \"" +
                (key.keysyms.size() == 2 ? "ALPHABETIC" : "ONE_LEVEL") + "\", symbols[Group1] = [ ";
        for (std::size_t level = 0; level < key.keysyms.size(); ++level) {
            text += (level > 0 ? ", " : "") + KeySymName(key.keysyms[level]);
        }
        text += " ] };\n";
        if (const char* modifier = ModifierName(key.modifier)) {
            text +=
                "    modifier_map " + std::string(modifier) + " { <I" + std::to_string(kFirstKeycode + i) + "> };\n";
        }
    }
    text += "};\n};\n";
    return text;
}

} // namespace ordwell
