#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "PrivateDisplay.h"

namespace ordwell::test {

// The test windows program (TestWindowsProgram.cpp) running on a private
// display, in a process of its own, driven a command line at a time.
class TestWindows final {
public:
    explicit TestWindows(const PrivateDisplay& display);

    // Opens a window ("open KEY OPTIONS -- TITLE") and answers its id once it
    // is mapped (at once when hidden); 0 when it did not come.
    unsigned long Open(const std::string& key, const std::string& title, const std::string& options = "");
    void Send(const std::string& command);
    // Waits, within a generous bound, until the program has reported the
    // line (or a line of it and more words, as "dialog KEY" for "dialog KEY ID").
    bool Reported(const std::string& line);
    // Whether the program has reported the line by now, without waiting.
    bool ReportedAlready(const std::string& line);
    // The text a window has received, once the program has read every event
    // the server had sent it (UTF-8).
    std::string Text(const std::string& key);
    // The key presses a window has received ("Return C-a A-F4 S-Tab").
    std::string Keys(const std::string& key);
    // Forgets a window's text and keys.
    void Clear(const std::string& key);
    const std::string& Output() const { return m_process->Output(); }
    const std::string& Errors() const { return m_process->Errors(); }

private:
    static bool HasLine(const std::string& output, const std::string& line);
    // Sends "VERB KEY N" and answers the rest of the report "VERB KEY N ...".
    std::string Ask(const std::string& verb, const std::string& key);

    int m_serial = 0;
    std::unique_ptr<ChildProcess> m_process;
};

} // namespace ordwell::test
