#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ordwell::test {

// A program started for a black-box test: its own working directory and
// environment (and the sanitizer settings of the test run), standard input
// fed from a string (then closed, or kept open), standard output collected.
// Every wait sleeps on the child's descriptors and gives up after a bound, so
// a hung child fails the test instead of hanging it.
class ChildProcess {
public:
    struct Options {
        std::filesystem::path directory;
        std::vector<std::string> environment; // "NAME=value"
        std::string input;
        bool keepInputOpen = false;
        bool noInput = false; // start it with standard input closed
    };

    ChildProcess(const std::string& program, const std::vector<std::string>& arguments, const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the output collected so far satisfies `ready`; false when
    // the child ended or the bound passed first.
    bool WaitForOutput(const std::function<bool(const std::string&)>& ready, std::chrono::milliseconds bound);
    // Waits for the child to end and answers its exit status; nothing when it
    // was killed by a signal or did not end within the bound (it is then
    // killed when this object goes).
    std::optional<int> Wait(std::chrono::milliseconds bound);
    // Takes in the output that has come so far, without waiting.
    void Collect();
    void Signal(int number);
    // Writes to the child's standard input (with keepInputOpen); false when
    // it does not take all of it.
    bool Write(std::string_view text);
    int Pid() const { return m_pid; }

    const std::string& Output() const { return m_output; }
    const std::string& Errors() const { return m_errors; }

private:
    // Sleeps until output comes or the child ends, at most `ms`.
    void Pump(int ms);
    bool Reap();

    int m_pid = -1;
    int m_pidFd = -1;
    int m_stdout = -1;
    int m_stderr = -1;
    int m_stdin = -1;
    bool m_ended = false;
    int m_status = 0;
    std::string m_output;
    std::string m_errors;
};

} // namespace ordwell::test
