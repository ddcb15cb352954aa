#include "X11SpareKeys.h"

#include <X11/XKBlib.h>
#include <algorithm>
#include <memory>

#include "X11ErrorTrap.h"
#include "X11KeyboardLayout.h"

namespace ordwell {

namespace {

struct FreeKeyboard {
    void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};

// No other client's request is done while this lives.
class ServerGrab final {
public:
    explicit ServerGrab(Display* display) : m_display(display) { XGrabServer(display); }
    ~ServerGrab() {
        XUngrabServer(m_display);
        XFlush(m_display);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* m_display;
};

} // namespace

std::vector<std::uint8_t> X11SpareKeys::FreeKeys(const X11KeyboardLayout& layout) {
    // Spare on the core keyboard and the device as they are now: another
    // typer may have claimed some since the layout was read.
    const std::unique_ptr<XkbDescRec, FreeKeyboard> core(
        XkbGetMap(m_display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
    const std::unique_ptr<XkbDescRec, FreeKeyboard> device(
        m_device != XkbUseCoreKbd ? XkbGetMap(m_display, XkbKeyTypesMask | XkbKeySymsMask, m_device) : nullptr);
    const auto spareOn = [](const XkbDescRec* xkb, std::uint8_t key) {
        return xkb != nullptr && key >= xkb->min_key_code && key <= xkb->max_key_code && XkbKeyNumSyms(xkb, key) == 0;
    };
    std::vector<std::uint8_t> free;
    for (const std::uint8_t key : layout.SpareKeys()) {
        m_spanFirst = std::min<int>(m_spanFirst, key);
        m_spanLast = std::max<int>(m_spanLast, key);
        const bool ours = std::any_of(m_claimed.begin(), m_claimed.end(),
                                      [&](const ClaimedKey& claimed) { return claimed.keycode == key; });
        if (!ours && spareOn(core.get(), key) && (m_device == XkbUseCoreKbd || spareOn(device.get(), key))) {
            free.push_back(key);
        }
    }
    return free;
}

bool X11SpareKeys::Claim(const std::vector<std::vector<std::uint32_t>>& keysymSets, const X11KeyboardLayout& layout) {
    if (keysymSets.empty()) {
        return true;
    }
    // The keys chosen and changed with no other client in between: another
    // typer's keys are neither taken nor written back as they were.
    const ServerGrab grab(m_display);
    const std::vector<std::uint8_t> free = FreeKeys(layout);
    if (keysymSets.size() > free.size()) {
        return false;
    }
    std::vector<ClaimedKey> keys;
    for (std::size_t i = 0; i < keysymSets.size(); ++i) {
        keys.push_back(ClaimedKey{free[i], keysymSets[i]});
        // Three keysyms go on a key of four levels, the last one empty.
        if (keys.back().keysyms.size() == 3) {
            keys.back().keysyms.push_back(NoSymbol);
        }
    }
    if (!Apply(keys)) {
        return false;
    }
    m_claimed.insert(m_claimed.end(), keys.begin(), keys.end());
    return true;
}

void X11SpareKeys::Clear(const std::vector<ClaimedKey>& keys) {
    const ServerGrab grab(m_display);
    const std::unique_ptr<XkbDescRec, FreeKeyboard> xkb(
        XkbGetMap(m_display, XkbKeyTypesMask | XkbKeySymsMask, m_device));
    std::vector<ClaimedKey> cleared;
    for (const ClaimedKey& key : keys) {
        if (!xkb || key.keycode < xkb->min_key_code || key.keycode > xkb->max_key_code) {
            continue;
        }
        std::vector<std::uint32_t> now;
        if (XkbKeyNumGroups(xkb.get(), key.keycode) > 0) {
            for (int level = 0; level < XkbKeyGroupWidth(xkb.get(), key.keycode, 0); ++level) {
                now.push_back(static_cast<std::uint32_t>(XkbKeySymEntry(xkb.get(), key.keycode, level, 0)));
            }
        }
        if (now == key.keysyms) {
            cleared.push_back(ClaimedKey{key.keycode, {}});
        }
    }
    if (!cleared.empty()) {
        Apply(cleared);
    }
}

void X11SpareKeys::ClearAll() {
    Clear(m_claimed);
    m_claimed.clear();
}

bool X11SpareKeys::Apply(const std::vector<ClaimedKey>& keys) {
    // The core keyboard first: clients read their keys with its map, and are
    // told of its changes at once, also before the XTEST device has sent a
    // key and the core keyboard has taken its map over. Then the XTEST
    // device, the map the keys are typed with.
    bool applied = ApplyTo(XkbUseCoreKbd, keys);
    if (m_device != XkbUseCoreKbd) {
        applied = ApplyTo(m_device, keys) && applied;
    }
    return applied;
}

bool X11SpareKeys::ApplyTo(unsigned device, const std::vector<ClaimedKey>& keys) {
    const std::unique_ptr<XkbDescRec, FreeKeyboard> xkb(
        XkbGetMap(m_display, XkbKeyTypesMask | XkbKeySymsMask | XkbExplicitComponentsMask, device));
    if (!xkb || xkb->map == nullptr || xkb->server == nullptr || xkb->server->c_explicit == nullptr) {
        return false;
    }
    XkbMapChangesRec changes{};
    int low = std::max<int>(m_spanFirst, xkb->min_key_code);
    int high = std::min<int>(m_spanLast, xkb->max_key_code);
    for (const ClaimedKey& key : keys) {
        const int code = key.keycode;
        if (code < xkb->min_key_code || code > xkb->max_key_code) {
            return false;
        }
        low = std::min(low, code);
        high = std::max(high, code);
        if (key.keysyms.empty()) {
            XkbChangeTypesOfKey(xkb.get(), code, 0, XkbGroup1Mask, nullptr, &changes);
            xkb->server->c_explicit[code] &= ~XkbExplicitKeyType1Mask;
            continue;
        }
        int type = key.keysyms.size() == 1   ? XkbOneLevelIndex
                   : key.keysyms.size() == 2 ? XkbTwoLevelIndex
                   : key.keysyms.size() == 4 ? X11KeyboardLayout::FourLevelType(xkb.get())
                                             : -1;
        if (type < 0 || XkbChangeTypesOfKey(xkb.get(), code, 1, XkbGroup1Mask, &type, &changes) != Success) {
            return false;
        }
        KeySym* syms = XkbKeySymsPtr(xkb.get(), code);
        for (std::size_t level = 0; level < key.keysyms.size(); ++level) {
            syms[level] = key.keysyms[level];
        }
        xkb->server->c_explicit[code] |= XkbExplicitKeyType1Mask;
    }
    changes.changed = XkbKeySymsMask | XkbExplicitComponentsMask;
    changes.first_key_sym = static_cast<KeyCode>(low);
    changes.num_key_syms = static_cast<unsigned char>(high - low + 1);
    changes.first_key_explicit = static_cast<KeyCode>(low);
    changes.num_key_explicit = static_cast<unsigned char>(high - low + 1);
    X11ErrorTrap trap(m_display);
    XkbChangeMap(m_display, xkb.get(), &changes);
    return !trap.Failed();
}

} // namespace ordwell
