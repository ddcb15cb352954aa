#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace ordwell::test {

class ChildProcess;

// An X server of one test's own (Xvfb), with openbox as its window manager
// when asked for, for as long as this object lives; other tests running at
// the same time cannot move its focus.
class PrivateDisplay {
public:
    PrivateDisplay(const std::filesystem::path& folder, bool windowManager);
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // False when the server or the window manager could not be started.
    bool Ready() const { return m_ready; }
    // The value for DISPLAY, such as ":7".
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    std::unique_ptr<ChildProcess> m_server;
    std::unique_ptr<ChildProcess> m_windowManager;
    bool m_ready = false;
};

} // namespace ordwell::test
