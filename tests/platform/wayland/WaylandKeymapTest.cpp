// The keymap our Wayland keyboard types with, compiled by xkbcommon as a
// compositor and a receiver compile it: every character lies where the
// keymap says, and typing it there gives that character.
#include <gtest/gtest.h>
#include <memory>
#include <xkbcommon/xkbcommon.h>

#include "platform/Keyboard.h"
#include "platform/wayland/WaylandKeymap.h"
#include "text/Utf8.h"

namespace ordwell {
namespace {

// The keymap as a receiver reads it.
class CompiledKeymap {
public:
    explicit CompiledKeymap(const WaylandKeymap& keymap)
        : m_context(xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref),
          m_keymap(xkb_keymap_new_from_string(m_context.get(), keymap.Text().c_str(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                              XKB_KEYMAP_COMPILE_NO_FLAGS),
                   xkb_keymap_unref) {}

    bool Compiled() const { return m_keymap != nullptr; }
    // The character a key types with the modifiers given held.
    char32_t Typed(std::uint32_t keycode, std::uint32_t modifiers) const {
        std::unique_ptr<xkb_state, decltype(&xkb_state_unref)> state(xkb_state_new(m_keymap.get()), xkb_state_unref);
        xkb_state_update_mask(state.get(), modifiers, 0, 0, 0, 0, 0);
        return xkb_state_key_get_utf32(state.get(), keycode);
    }
    xkb_keysym_t KeySym(std::uint32_t keycode) const {
        std::unique_ptr<xkb_state, decltype(&xkb_state_unref)> state(xkb_state_new(m_keymap.get()), xkb_state_unref);
        return xkb_state_key_get_one_sym(state.get(), keycode);
    }
    // The real modifier a key's modifier map gives it, as a mask.
    std::uint32_t ModifierMask(const char* name) const { return 1U << xkb_keymap_mod_get_index(m_keymap.get(), name); }

private:
    std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> m_context;
    std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> m_keymap;
};

std::string Utf8(char32_t c) {
    std::string out;
    AppendUtf8(out, c);
    return out;
}

// Every character of the list lies on a key that types it.
void ExpectTypedWhereThePlaceSays(const WaylandKeymap& keymap, const std::u32string& characters) {
    const CompiledKeymap compiled(keymap);
    ASSERT_TRUE(compiled.Compiled()) << keymap.Text();
    for (const char32_t c : characters) {
        const auto place = keymap.OfCharacter(c);
        ASSERT_TRUE(place.has_value()) << Utf8(c);
        EXPECT_EQ(compiled.Typed(place->keycode, place->shift ? WaylandKeymap::kShift : 0), c) << Utf8(c);
        EXPECT_LE(place->keycode, 255U); // X programs under XWayland read it too
    }
}

TEST(WaylandKeymap, EveryAsciiCharacterAndVirtualKeyHasAKeyFromTheStart) {
    const WaylandKeymap keymap;
    std::u32string ascii;
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        ascii += c;
    }
    ExpectTypedWhereThePlaceSays(keymap, ascii);
    const CompiledKeymap compiled(keymap);
    // Letters pair their cases on one key: Shift held by a text types the capital.
    EXPECT_EQ(keymap.OfCharacter(U'a')->keycode, keymap.OfCharacter(U'A')->keycode);
    EXPECT_FALSE(keymap.OfCharacter(U'a')->shift);
    EXPECT_TRUE(keymap.OfCharacter(U'A')->shift);
    // The virtual keys of letters are the keys of their characters.
    EXPECT_EQ(keymap.OfVirtualKey('C')->keycode, keymap.OfCharacter(U'c')->keycode);
    EXPECT_EQ(keymap.OfVirtualKey(vk::kReturn)->keycode, keymap.OfCharacter(U'\r')->keycode);
    EXPECT_EQ(keymap.OfCharacter(U'\n'), keymap.OfCharacter(U'\r'));
    // Named keys, F1 to F24 among them, and the modifiers.
    EXPECT_EQ(compiled.KeySym(keymap.OfVirtualKey(0x70)->keycode), XKB_KEY_F1);
    EXPECT_EQ(compiled.KeySym(keymap.OfVirtualKey(0x87)->keycode), XKB_KEY_F24);
    EXPECT_EQ(compiled.KeySym(keymap.OfVirtualKey(0x25)->keycode), XKB_KEY_Left);
    EXPECT_EQ(compiled.KeySym(keymap.OfVirtualKey(0x6B)->keycode), XKB_KEY_KP_Add);
    for (const auto& [virtualKey, modifier, name] : {std::tuple{vk::kShift, WaylandKeymap::kShift, "Shift"},
                                                     {vk::kControl, WaylandKeymap::kControl, "Control"},
                                                     {vk::kMenu, WaylandKeymap::kAlt, "Mod1"},
                                                     {vk::kCapital, WaylandKeymap::kLock, "Lock"}}) {
        const std::uint32_t keycode = keymap.OfVirtualKey(virtualKey)->keycode;
        EXPECT_EQ(keymap.ModifierOf(keycode), modifier) << name;
        EXPECT_EQ(compiled.ModifierMask(name), modifier) << name;
        EXPECT_EQ(keymap.KeyOfModifier(modifier), keycode) << name;
    }
    EXPECT_FALSE(keymap.OfVirtualKey(0xFF).has_value());
}

TEST(WaylandKeymap, CharactersOfNoLayoutGetKeysUntilTheKeymapIsFullAndAResetFreesThem) {
    WaylandKeymap keymap;
    const std::u32string text = U"éÉüß€ÑñőЖж→☺日本語ẞ\U0001F600";
    const std::uint64_t before = keymap.Generation();
    EXPECT_EQ(keymap.Add(std::vector<char32_t>(text.begin(), text.end())), text.size());
    EXPECT_NE(keymap.Generation(), before);
    ExpectTypedWhereThePlaceSays(keymap, text);
    // Case pairs share a key; ß and ẞ are no pair XKB knows both ways.
    EXPECT_EQ(keymap.OfCharacter(U'é')->keycode, keymap.OfCharacter(U'É')->keycode);
    EXPECT_EQ(keymap.OfCharacter(U'Ж')->keycode, keymap.OfCharacter(U'ж')->keycode);
    // Known characters change nothing.
    const std::uint64_t known = keymap.Generation();
    EXPECT_EQ(keymap.Add({U'é', U'a'}), 2U);
    EXPECT_EQ(keymap.Generation(), known);
    // Control characters that type no key get none.
    EXPECT_EQ(keymap.Add({U'\x01'}), 0U);

    std::vector<char32_t> many;
    for (char32_t c = 0x4E00; c < 0x4E00 + 300; ++c) {
        many.push_back(c);
    }
    const std::size_t room = keymap.Room();
    EXPECT_EQ(keymap.Add(many), room);
    EXPECT_EQ(keymap.Room(), 0U);
    EXPECT_FALSE(keymap.OfCharacter(many[room]).has_value());
    ExpectTypedWhereThePlaceSays(keymap, std::u32string(many.begin(), many.begin() + static_cast<long>(room)));

    keymap.Reset();
    EXPECT_FALSE(keymap.OfCharacter(U'é').has_value());
    EXPECT_TRUE(keymap.OfCharacter(U'a').has_value());
    EXPECT_GT(keymap.Room(), 100U);
    EXPECT_EQ(keymap.Add({many[room]}), 1U);
    ExpectTypedWhereThePlaceSays(keymap, {many[room], U'~', U'Z'});
}

} // namespace
} // namespace ordwell
