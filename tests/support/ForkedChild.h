#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace ordwell::test {

// A test body run in a forked child process, for operations that might hang
// or that need a process of their own (holding a lock, dying mid-way, other
// limits or another user). Every wait of the parent sleeps on the child's
// descriptors and gives up after a bound, so a hung child fails the test
// instead of hanging it; a child still running when this object goes is
// killed.
class ForkedChild final {
public:
    ForkedChild() = default;
    ~ForkedChild();
    ForkedChild(const ForkedChild&) = delete;
    ForkedChild& operator=(const ForkedChild&) = delete;

    // Forks; the child runs the body and exits with its result.
    void Start(const std::function<int()>& body);

    // Child side: tells the parent that a point of the body was reached.
    void Report();
    // Parent side: waits for the child's next report; false when the child
    // ended or the bound passed first.
    bool AwaitReport(std::chrono::milliseconds bound = std::chrono::seconds(30));

    // Waits for the child to end and answers its exit status; nothing when it
    // was killed by a signal or did not end within the bound (it is then
    // killed).
    std::optional<int> Wait(std::chrono::milliseconds bound = std::chrono::seconds(30));
    void Kill();

private:
    int m_pid = -1;
    int m_pidFd = -1;
    int m_reports[2] = {-1, -1};
    bool m_reaped = false;
};

} // namespace ordwell::test
