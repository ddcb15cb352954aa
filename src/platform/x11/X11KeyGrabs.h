#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "X11Connection.h"
#include "platform/EventPump.h"
#include "platform/KeyGrabs.h"

namespace ordwell {

// Key combinations grabbed on the root window of an X display, on a
// connection of their own (opened at the first grab), so that a press is
// read as soon as it comes and never waits in a queue behind another
// part's round trip. Each combination is grabbed four times: alone and with
// Caps Lock, Num Lock or both locked, as the lock keys make no difference.
//
// The X server gives a grabbed key to the grabber whoever pressed it, XTest
// included: the keyboard lifts the grab of a key around its own press of it
// (Lift, Restore), so that a macro typing the key reaches its window.
class X11KeyGrabs final : public KeyGrabs {
public:
    // `display` as XOpenDisplay takes it (null: DISPLAY).
    X11KeyGrabs(EventPump& pump, std::string display);
    ~X11KeyGrabs() override;
    X11KeyGrabs(const X11KeyGrabs&) = delete;
    X11KeyGrabs& operator=(const X11KeyGrabs&) = delete;

    int Grab(const KeyCombination& key, std::function<void()> pressed, GrabOutcome& outcome) override;
    void Release(int id) override;

    // Whether a grab holds the key (a keycode) now.
    bool Holds(std::uint8_t keycode) const;
    // Ends the grabs of the key until Restore; returns once the server has
    // ended them.
    void Lift(std::uint8_t keycode);
    void Restore(std::uint8_t keycode);

private:
    struct Grabbing {
        std::uint8_t keycode = 0;
        std::uint16_t modifiers = 0; // X11 modifier mask
        std::function<void()> pressed;
    };

    bool Connect();
    // The keycode and X11 modifier mask of a combination; keycode 0 when no
    // key of the layout carries it.
    std::pair<std::uint8_t, std::uint16_t> Place(const KeyCombination& key) const;
    std::vector<std::uint16_t> LockVariants(std::uint16_t modifiers) const;
    void GrabVariants(std::uint8_t keycode, std::uint16_t modifiers);
    void UngrabVariants(std::uint8_t keycode, std::uint16_t modifiers);
    void OnEvent(const xcb_generic_event_t& event);

    EventPump& m_pump;
    std::string m_displayName;
    bool m_tried = false;
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<X11Connection::Listening> m_listening;
    std::uint16_t m_numLockMask = 0;
    std::uint16_t m_altMask = 0;
    std::map<int, Grabbing> m_grabs;
    int m_nextId = 0;
};

} // namespace ordwell
