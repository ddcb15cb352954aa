#pragma once

#include <memory>
#include <string>
#include <vector>

#include "blackbox/ChildProcess.h"

namespace ordwell::test {

// A headless sway of the test's own (wlroots' headless backend, pixman
// rendering, no input devices), with one output of 1280x1024 and the
// keyboard layout given. sway does not run as root: when the tests do, it
// runs, with every program the test starts on it, as the unprivileged user
// scripts/setup.sh makes (kUser), in a runtime folder of its own (mode
// 0700); the code under test connects to its socket by the whole path.
// Everything ends with this object.
class PrivateCompositor final {
public:
    static constexpr const char* kUser = "ordwell-test";

    // With `xwayland`, sway serves X clients too (through Xwayland, started
    // when the first one connects); they find it through X11Display().
    explicit PrivateCompositor(const std::string& layout = "us", bool xwayland = false);
    ~PrivateCompositor();
    PrivateCompositor(const PrivateCompositor&) = delete;
    PrivateCompositor& operator=(const PrivateCompositor&) = delete;

    // Whether sway is installed at all: the tests skip without it.
    static bool Installed();
    // Whether the compositor came up; the reason when not.
    bool Ready() const { return !m_socket.empty(); }
    const std::string& Problem() const { return m_problem; }
    // The whole path of its socket, as WAYLAND_DISPLAY may name it.
    const std::string& Socket() const { return m_socket; }
    // The runtime folder, owned by the compositor's user.
    const std::string& Folder() const { return m_folder; }
    // The X display sway's Xwayland serves (":1", say), as sway tells the
    // programs it starts; empty without Xwayland.
    std::string X11Display() const;
    // An environment for programs on this compositor.
    std::vector<std::string> Environment() const;
    // Starts a program on the compositor, as the compositor's user.
    std::unique_ptr<ChildProcess> Start(const std::string& program, const std::vector<std::string>& arguments,
                                        ChildProcess::Options options = {}) const;
    // Asks sway over its IPC (swaymsg ARGUMENTS): its output, empty when it failed.
    std::string Ask(const std::vector<std::string>& arguments) const;
    // Makes a folder in the runtime folder that the compositor's user owns.
    std::string MakeFolder(const std::string& name) const;

private:
    std::string m_folder;
    std::string m_socket;
    std::string m_problem;
    int m_uid = -1;
    int m_gid = -1;
    std::unique_ptr<ChildProcess> m_sway;
};

} // namespace ordwell::test
