#include "X11Atoms.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace ordwell {

X11Atoms X11Atoms::Intern(xcb_connection_t* connection) {
    X11Atoms atoms;
#define ORDWELL_X11_ATOM_REQUEST(member, name)                                                                         \
    const xcb_intern_atom_cookie_t member##Cookie =                                                                    \
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    ORDWELL_X11_ATOMS(ORDWELL_X11_ATOM_REQUEST)
#undef ORDWELL_X11_ATOM_REQUEST
#define ORDWELL_X11_ATOM_REPLY(member, name)                                                                           \
    if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, member##Cookie, nullptr)) {                 \
        atoms.member = reply->atom;                                                                                    \
        std::free(reply);                                                                                              \
    }
    ORDWELL_X11_ATOMS(ORDWELL_X11_ATOM_REPLY)
#undef ORDWELL_X11_ATOM_REPLY
    return atoms;
}

} // namespace ordwell
