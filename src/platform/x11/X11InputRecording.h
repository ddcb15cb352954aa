#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/EventPump.h"
#include "platform/InputRecording.h"

typedef struct _XDisplay Display;

namespace ordwell {

// The user's input as the X server's RECORD extension reports it, on two
// connections of this recording's own: one that the server sends the
// recorded data on (read on the event pump whenever its descriptor is
// readable) and one for the requests around it. The active window is known
// from the window manager's own change of _NET_ACTIVE_WINDOW on the root
// window, recorded in the same stream as the keys and clicks, so every key
// and click is told after the window it went to. Keys and clicks while a
// window of this process is active are left out.
class X11InputRecording final : public InputRecording {
public:
    // `display` as XOpenDisplay takes it (empty: DISPLAY).
    X11InputRecording(EventPump& pump, std::string display);
    ~X11InputRecording() override;
    X11InputRecording(const X11InputRecording&) = delete;
    X11InputRecording& operator=(const X11InputRecording&) = delete;

    bool Start(Seen seen, std::string& problem) override;
    void Stop() override;

    // What the server sends on the data connection (XRecord's callback).
    void Intercepted(bool fromServer, bool fromClient, const unsigned char* data, std::uint32_t time);
    void Ended() { m_ended = true; }

private:
    void OnKey(std::uint8_t keycode, std::uint32_t time);
    void OnActiveWindow(unsigned long window);
    // Tells the active window when it is another than the one told last;
    // false when it is one of this process's own.
    bool TellWindow(std::uint32_t time);
    std::string TitleOf(unsigned long window) const;
    long ProcessOf(unsigned long window) const;
    void Close();

    EventPump& m_pump;
    std::string m_displayName;
    Display* m_control = nullptr;
    Display* m_data = nullptr;
    unsigned long m_context = 0;
    EventPump::EventId m_watch = 0;
    Seen m_seen;
    bool m_begun = false; // the mark of the start came back
    bool m_ended = false; // its end

    unsigned long m_activeAtom = 0;
    unsigned long m_markAtom = 0;
    unsigned long m_root = 0;
    unsigned long m_active = 0;  // the active window
    unsigned long m_told = ~0UL; // the window told last
    bool m_ownActive = false;
    std::string m_toldTitle;

    // Keyboard state, followed from the recorded keys.
    std::set<std::uint8_t> m_shift;
    std::set<std::uint8_t> m_ctrl;
    std::set<std::uint8_t> m_alt;
    std::set<std::uint8_t> m_levelThree;
    bool m_capsLock = false;
    int m_group = 0;
    std::map<std::uint32_t, std::uint8_t> m_virtualKeys; // keysym → virtual key
};

} // namespace ordwell
