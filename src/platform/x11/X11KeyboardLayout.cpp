#include "X11KeyboardLayout.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <array>
#include <bit>
#include <memory>
#include <xkbcommon/xkbcommon.h>

namespace ordwell {

namespace {

struct FreeKeyboard {
    void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};

bool IsKeypad(std::uint32_t keysym) {
    return keysym >= XK_KP_Space && keysym <= XK_KP_Equal;
}

bool LocksSomething(std::uint32_t keysym) {
    switch (keysym) {
    case XK_Caps_Lock:
    case XK_Shift_Lock:
    case XK_Num_Lock:
    case XK_Scroll_Lock:
    case XK_ISO_Lock:
    case XK_ISO_Level3_Lock:
    case XK_ISO_Level5_Lock:
        return true;
    default:
        return false;
    }
}

// The group of a key that the keyboard's group selects: out-of-range groups
// wrap, as they do by default.
int KeyGroup(XkbDescPtr xkb, int keycode, int group) {
    const int groups = XkbKeyNumGroups(xkb, keycode);
    return groups == 0 ? -1 : group % groups;
}

} // namespace

int X11KeyboardLayout::Bit(std::uint8_t mask) {
    return mask == 0 ? 0 : std::countr_zero(mask);
}

void X11KeyboardLayout::Offer(std::unordered_map<std::uint32_t, KeyPlace>& places, std::uint32_t key, KeyPlace place) {
    const auto [found, added] = places.try_emplace(key, place);
    // Fewer modifiers win; among equals, the lower key.
    if (!added && std::popcount(place.mods) < std::popcount(found->second.mods)) {
        found->second = place;
    }
}

std::optional<X11KeyboardLayout> X11KeyboardLayout::Read(Display* display, unsigned device, int group) {
    const std::unique_ptr<XkbDescRec, FreeKeyboard> xkb(
        XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask | XkbKeyActionsMask, device));
    if (!xkb || xkb->map == nullptr || xkb->map->key_sym_map == nullptr) {
        return std::nullopt;
    }
    X11KeyboardLayout layout;
    XkbDescPtr desc = xkb.get();
    const std::uint8_t forbidden = ControlMask | LockMask;
    for (int keycode = desc->min_key_code; keycode <= desc->max_key_code && keycode < 256; ++keycode) {
        const auto code = static_cast<std::uint8_t>(keycode);
        const std::uint8_t modmap = desc->map->modmap != nullptr ? desc->map->modmap[keycode] : 0;
        layout.m_modifierMap[code] = modmap;
        const int g = KeyGroup(desc, keycode, group);
        if (XkbKeyNumGroups(desc, keycode) > 0) {
            for (int level = 0; level < XkbKeyGroupWidth(desc, keycode, 0); ++level) {
                layout.m_firstGroupSyms[code].push_back(
                    static_cast<std::uint32_t>(XkbKeySymEntry(desc, keycode, level, 0)));
            }
        }
        bool anySymbol = false;
        for (const std::uint32_t sym : layout.m_firstGroupSyms[code]) {
            anySymbol = anySymbol || sym != NoSymbol;
        }
        if (!anySymbol && modmap == 0 && !XkbKeyHasActions(desc, keycode)) {
            layout.m_spareKeys.push_back(code);
            continue;
        }
        if (g < 0) {
            continue;
        }
        const XkbKeyTypePtr type = XkbKeyKeyType(desc, keycode, g);
        for (int level = 0; level < type->num_levels; ++level) {
            const auto keysym = static_cast<std::uint32_t>(XkbKeySymEntry(desc, keycode, level, g));
            if (keysym == NoSymbol) {
                continue;
            }
            // The fewest modifiers that select the level; level 1 needs none.
            std::optional<std::uint8_t> mods;
            if (level == 0) {
                mods = 0;
            }
            for (int entry = 0; entry < type->map_count; ++entry) {
                const XkbKTMapEntryRec& map = type->map[entry];
                const auto mask = static_cast<std::uint8_t>(map.mods.mask);
                if (map.active && map.level == level && (mask & forbidden) == 0 &&
                    (!mods || std::popcount(mask) < std::popcount(*mods))) {
                    mods = mask;
                }
            }
            if (!mods) {
                continue;
            }
            const KeyPlace place{code, *mods};
            layout.Offer(layout.m_byKeySym, keysym, place);
            if (!IsKeypad(keysym)) {
                if (const std::uint32_t character = xkb_keysym_to_utf32(keysym); character != 0) {
                    layout.Offer(layout.m_byCharacter, character, place);
                }
            }
        }
        // A key whose first level sets modifiers while it is held.
        const auto first = static_cast<std::uint32_t>(XkbKeySymEntry(desc, keycode, 0, g));
        if (first == XK_Num_Lock) {
            layout.m_numLockMask = modmap;
        }
        if (XkbKeyHasActions(desc, keycode) && !LocksSomething(first)) {
            const XkbAction* action = XkbKeyActionEntry(desc, keycode, 0, g);
            if (action != nullptr && action->type == XkbSA_SetMods) {
                const std::uint8_t sets = (action->mods.flags & XkbSA_UseModMapMods) != 0 ? modmap : action->mods.mask;
                if (std::popcount(sets) == 1 && layout.m_modifierKeys[Bit(sets)] == 0) {
                    layout.m_modifierKeys[Bit(sets)] = code;
                }
            }
        }
    }
    const int fourLevel = FourLevelType(desc);
    if (fourLevel >= 0) {
        const auto third = static_cast<std::uint8_t>(desc->map->types[fourLevel].mods.mask & ~ShiftMask);
        layout.m_fourLevels = layout.m_modifierKeys[Bit(third)] != 0;
    }
    return layout;
}

int X11KeyboardLayout::FourLevelType(const _XkbDesc* xkb) {
    if (xkb == nullptr || xkb->map == nullptr || xkb->map->types == nullptr) {
        return -1;
    }
    for (int index = 0; index < xkb->map->num_types; ++index) {
        const XkbKeyTypeRec& type = xkb->map->types[index];
        const auto third = static_cast<std::uint8_t>(type.mods.mask & ~ShiftMask);
        if (type.num_levels != 4 || (type.mods.mask & ShiftMask) == 0 || std::popcount(third) != 1 ||
            (third & (LockMask | ControlMask)) != 0) {
            continue;
        }
        // Level by level, the modifiers that choose it (level 1: none).
        std::array<std::optional<std::uint8_t>, 4> chosenBy{std::uint8_t{0}};
        bool preserves = false;
        for (int entry = 0; entry < type.map_count; ++entry) {
            const XkbKTMapEntryRec& map = type.map[entry];
            if (map.active && map.level > 0 && map.level < 4 && !chosenBy[map.level]) {
                chosenBy[map.level] = static_cast<std::uint8_t>(map.mods.mask);
            }
            preserves = preserves || (type.preserve != nullptr && type.preserve[entry].mask != 0);
        }
        if (!preserves && chosenBy[1] == ShiftMask && chosenBy[2] == third &&
            chosenBy[3] == static_cast<std::uint8_t>(ShiftMask | third)) {
            return index;
        }
    }
    return -1;
}

std::optional<KeyPlace> X11KeyboardLayout::OfCharacter(char32_t character) const {
    const auto found = m_byCharacter.find(static_cast<std::uint32_t>(character));
    return found != m_byCharacter.end() ? std::optional<KeyPlace>(found->second) : std::nullopt;
}

std::optional<KeyPlace> X11KeyboardLayout::OfKeySym(std::uint32_t keysym) const {
    const auto found = m_byKeySym.find(keysym);
    return found != m_byKeySym.end() ? std::optional<KeyPlace>(found->second) : std::nullopt;
}

} // namespace ordwell
