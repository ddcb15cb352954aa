#pragma once

#include <memory>
#include <string>

#include "PrivateCompositor.h"

namespace ordwell::test {

// The Wayland receiver program (WaylandReceiver.cpp) on a private
// compositor, in a process of its own, driven a command line at a time, and
// the files it records what its windows receive in.
class TestReceiver final {
public:
    explicit TestReceiver(const PrivateCompositor& compositor);
    ~TestReceiver();

    bool Ready() const { return m_ready; }
    // Opens a window ("open KEY OPTIONS -- TITLE"); whether it was shown.
    bool Open(const std::string& key, const std::string& title, const std::string& options = "");
    void Send(const std::string& command);
    // Waits, within a generous bound, until the program has reported the line.
    bool Reported(const std::string& line);
    bool ReportedAlready(const std::string& line);

    // What a window has received so far (see the program's description).
    std::string Text(const std::string& key) const;
    std::string Keys(const std::string& key) const;
    std::string Raw(const std::string& key) const;
    std::string Clicks(const std::string& key) const;
    // Waits, within a generous bound, until the window's text is at least
    // `size` bytes long, and answers it.
    std::string AwaitText(const std::string& key, std::size_t size) const;
    // Forgets what a window has received.
    void Clear(const std::string& key) const;
    // The native codes of the keys pressed and not released.
    std::string KeysHeld(const std::string& key) const;
    // Waits, within a generous bound, until the window holds no key: the
    // release of the last key may come a moment after its character.
    bool AwaitNothingHeld(const std::string& key) const;

    const std::string& Output() const { return m_process->Output(); }
    const std::string& Errors() const { return m_process->Errors(); }

private:
    std::string Read(const std::string& key, const char* kind) const;

    std::string m_folder;
    std::unique_ptr<ChildProcess> m_process;
    bool m_ready = false;
};

} // namespace ordwell::test
