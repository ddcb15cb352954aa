#pragma once

namespace ordwell {

// A stop request from outside the program (Ctrl+C, SIGTERM). Once raised it
// stays raised, so every running macro, nested ones included, ends.
class StopSignal {
public:
    virtual ~StopSignal() = default;
    virtual bool Raised() const = 0;
};

} // namespace ordwell
