#pragma once

namespace ordwell {

// Something the operating system can wake a waiting thread with: a file
// descriptor on POSIX systems (a pidfd, the X connection, the D-Bus
// connection, a pipe), a HANDLE on Win32.
#ifdef _WIN32
using NativeHandle = void*;
#else
using NativeHandle = int;
#endif

} // namespace ordwell
