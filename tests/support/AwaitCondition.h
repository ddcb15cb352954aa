#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace ordwell::test {

// Waits until the condition holds, looking again every 10 ms, at most for
// `bound`: whether it held. For what the test cannot be told of and has to
// look at (another process's window, a file it writes).
inline bool AwaitCondition(const std::function<bool()>& condition, std::chrono::steady_clock::duration bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace ordwell::test
