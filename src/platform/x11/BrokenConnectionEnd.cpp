#include "BrokenConnectionEnd.h"

#include <X11/Xlib.h>

namespace ordwell {

namespace {

void (*g_end)() = nullptr;

int OnBrokenConnection(Display*) {
    g_end();
    return 0;
}

} // namespace

void EndOnBrokenConnection(void (*end)()) {
    g_end = end;
    XSetIOErrorHandler(OnBrokenConnection);
}

} // namespace ordwell
