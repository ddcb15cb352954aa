#include "LockKeys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace ordwell {

struct LockKeys::Connection {
    Display* display = nullptr;
    // The indicator bit of each lock, by the names keyboard layouts give
    // them; -1 for one this keyboard does not have.
    int caps = -1;
    int num = -1;
    int scroll = -1;
};

namespace {

int IndicatorBit(Display* display, const char* name) {
    int index = -1;
    if (XkbGetNamedIndicator(display, XInternAtom(display, name, False), &index, nullptr, nullptr, nullptr) == 0) {
        return -1;
    }
    return index;
}

bool Lit(unsigned state, int bit) {
    return bit >= 0 && bit < 32 && (state & (1u << bit)) != 0;
}

} // namespace

LockKeys::LockKeys() {
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    int reason = 0;
    Display* display = XkbOpenDisplay(nullptr, nullptr, nullptr, &major, &minor, &reason);
    if (display == nullptr) {
        return;
    }
    m_connection = new Connection{display, IndicatorBit(display, "Caps Lock"), IndicatorBit(display, "Num Lock"),
                                  IndicatorBit(display, "Scroll Lock")};
    XkbSelectEventDetails(display, XkbUseCoreKbd, XkbIndicatorStateNotify, XkbAllIndicatorsMask, XkbAllIndicatorsMask);
    XFlush(display);
}

LockKeys::~LockKeys() {
    if (m_connection != nullptr) {
        XCloseDisplay(m_connection->display);
        delete m_connection;
    }
}

int LockKeys::EventFd() const {
    return m_connection != nullptr ? ConnectionNumber(m_connection->display) : -1;
}

std::optional<LockKeyState> LockKeys::Read() {
    if (m_connection == nullptr) {
        return std::nullopt;
    }
    Display* display = m_connection->display;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
    unsigned state = 0;
    if (XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success) {
        return std::nullopt;
    }
    return LockKeyState{Lit(state, m_connection->caps), Lit(state, m_connection->num),
                        Lit(state, m_connection->scroll)};
}

} // namespace ordwell
