#pragma once

#include <string>

namespace ordwell {

class Diagnostics;

// While it lives, Qt's own messages go through the program's diagnostics
// instead of straight to standard error, so that a run's error output holds
// only what the program has to say: debug and information messages are
// dropped, and so are notes of Qt on what it did about its surroundings by
// itself (no XDG_RUNTIME_DIR: it uses a folder of its own). Warnings about
// real problems are reported as "Qt: text". Made before the QApplication and
// ended after it, with diagnostics that outlive it.
class QtMessageRoute final {
public:
    explicit QtMessageRoute(Diagnostics& diagnostics);
    ~QtMessageRoute();
    QtMessageRoute(const QtMessageRoute&) = delete;
    QtMessageRoute& operator=(const QtMessageRoute&) = delete;

    // From now on Qt's warnings are dropped: the program is ending on
    // purpose in a way Qt would warn of. Safe to call from any thread.
    static void Silence();

    // While it lives, a fatal message of Qt (which would abort the program
    // next) is reported with `note` and ends the program with `status`.
    class FatalExit final {
    public:
        FatalExit(int status, std::string note);
        ~FatalExit();
        FatalExit(const FatalExit&) = delete;
        FatalExit& operator=(const FatalExit&) = delete;
    };
};

} // namespace ordwell
