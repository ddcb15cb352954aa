// The ordwell program on X servers that misbehave: one that takes the
// connection and never answers, one grabbed by another client, one stopped
// with SIGSTOP, one that resets when its last client leaves, one that goes
// away during the run. A stop signal ends the run whatever the server does,
// and no run aborts.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <atomic>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "OrdwellProgram.h"
#include "support/PrivateDisplay.h"

namespace ordwell::test {
namespace {

// A listening socket where an X server's would be, on a display number
// nobody uses, that accepts connections (the kernel queues them) and never
// answers.
class MuteDisplay {
public:
    MuteDisplay() {
        for (int number = 600; number < 1000 && m_name.empty(); ++number) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            // The abstract name, which clients try first.
            const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
            std::memcpy(address.sun_path + 1, path.data(), path.size());
            const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
            if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(fd, 16) == 0) {
                m_fd = fd;
                m_name = ":" + std::to_string(number);
            } else {
                ::close(fd);
            }
        }
    }
    ~MuteDisplay() {
        for (const int fd : m_clients) {
            ::close(fd);
        }
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    MuteDisplay(const MuteDisplay&) = delete;
    MuteDisplay& operator=(const MuteDisplay&) = delete;

    const std::string& Name() const { return m_name; }
    // Waits until a client has connected, and takes its connection, to
    // leave it unanswered.
    bool AwaitClient() {
        pollfd pending{m_fd, POLLIN, 0};
        if (::poll(&pending, 1, static_cast<int>(std::chrono::milliseconds(kBound).count())) != 1) {
            return false;
        }
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            m_clients.push_back(client);
        }
        return client >= 0;
    }

private:
    int m_fd = -1;
    std::vector<int> m_clients;
    std::string m_name;
};

// An X server of the test's own with no client of the test's: it resets when
// the last client leaves, as Xvfb does by default.
class BareServer {
public:
    explicit BareServer(const std::filesystem::path& folder) {
        ChildProcess::Options options;
        options.directory = folder;
        options.environment = {"PATH=/usr/bin:/bin", "HOME=" + folder.string()};
        m_server = std::make_unique<ChildProcess>(
            "/usr/bin/Xvfb",
            std::vector<std::string>{"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"}, options);
        if (m_server->WaitForOutput([](const std::string& out) { return out.find('\n') != std::string::npos; },
                                    kBound)) {
            m_name = ":" + m_server->Output().substr(0, m_server->Output().find('\n'));
        }
    }
    ~BareServer() {
        m_server->Signal(SIGTERM);
        m_server->Wait(kBound);
    }
    BareServer(const BareServer&) = delete;
    BareServer& operator=(const BareServer&) = delete;

    const std::string& Name() const { return m_name; }
    std::string Problem() const { return m_server->Errors(); }
    void Kill() { m_server->Signal(SIGKILL); }

private:
    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};

class DisplayTrouble : public OrdwellProgram {
protected:
    // Waits, with a generous bound, until the run has written the file.
    bool AwaitFile(const std::string& name) const {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (!std::filesystem::exists(m_dir / name)) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }
};

TEST_F(DisplayTrouble, ASignalEndsARunWhoseDisplayNeverAnswers) {
    MuteDisplay display;
    ASSERT_FALSE(display.Name().empty());
    SetEnvironment("DISPLAY", display.Name());
    WriteMacro("macro.ow", "Delay(-1)\n");
    for (const int signal : {SIGTERM, SIGINT}) {
        auto child = Start({"/r", "macro.ow"});
        ASSERT_TRUE(display.AwaitClient());
        child->Signal(signal);
        EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
    }
}

// It is no display: the boxes are the terminal's.
TEST_F(DisplayTrouble, ADisplayThatNeverAnswersIsNoDisplay) {
    const MuteDisplay display;
    ASSERT_FALSE(display.Name().empty());
    SetEnvironment("DISPLAY", display.Name());
    const Result result = RunMacro("MessageBox(\"On the terminal\")\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_NE(result.output.find("On the terminal"), std::string::npos) << result.output;
}

// The test's own connection grabs the server, or the server is stopped, while
// the run waits or while it asks the server something: a signal ends it.
TEST_F(DisplayTrouble, ASignalEndsARunWhoseServerIsGrabbedOrStopped) {
    PrivateDisplay screen(m_dir, false);
    ASSERT_TRUE(screen.Ready()) << screen.Problem();
    SetEnvironment("DISPLAY", screen.Name());
    Display* grabber = XOpenDisplay(screen.Name().c_str());
    ASSERT_NE(grabber, nullptr);
    const char* const macros[] = {
        "WriteToFile(started.txt,yes)\nDelay(-1)\n",
        "WriteToFile(started.txt,yes)\n:again\nFindWindow(\"No such window\")\nGoTo(again)\n",
    };
    for (const char* macro : macros) {
        for (const bool grab : {true, false}) {
            SCOPED_TRACE(std::string(macro) + (grab ? " grabbed" : " stopped"));
            std::filesystem::remove(m_dir / "started.txt");
            WriteMacro("macro.ow", macro);
            auto child = Start({"/r", "macro.ow"});
            ASSERT_TRUE(AwaitFile("started.txt")) << child->Errors();
            if (grab) {
                XGrabServer(grabber);
                XSync(grabber, False);
            } else {
                screen.SignalServer(SIGSTOP);
            }
            child->Signal(SIGTERM);
            EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
            if (grab) {
                XUngrabServer(grabber);
                XSync(grabber, False);
            } else {
                screen.SignalServer(SIGCONT);
            }
        }
    }
    XCloseDisplay(grabber);
}

// A client of the test's comes and goes all the time, and each run's start
// finds the server alone or with it: whenever the last client leaves, the
// server resets, at any moment of a run's start. No run aborts.
TEST_F(DisplayTrouble, RunsOnAServerThatResetsWhenItsLastClientLeaves) {
    const BareServer server(m_dir);
    ASSERT_FALSE(server.Name().empty()) << server.Problem();
    SetEnvironment("DISPLAY", server.Name());
    WriteMacro("macro.ow", "WriteToFile(done.txt,yes)\n");
    std::atomic<bool> done{false};
    std::thread comings([&] {
        while (!done.load()) {
            if (Display* display = XOpenDisplay(server.Name().c_str())) {
                XCloseDisplay(display);
            }
        }
    });
    for (int run = 0; run < 50; ++run) {
        SCOPED_TRACE(run);
        std::filesystem::remove(m_dir / "done.txt");
        const Result result = Run({"/r", "macro.ow"});
        EXPECT_EQ(result.status, 0) << result.errors;
        EXPECT_EQ(ReadFile("done.txt"), "yes");
        if (result.status != 0) {
            break;
        }
    }
    done.store(true);
    comings.join();
}

// A display that goes away during the run that uses it ends the run with a
// status of its own.
TEST_F(DisplayTrouble, ARunWhoseDisplayGoesAwayEndsWithItsOwnStatus) {
    BareServer server(m_dir);
    ASSERT_FALSE(server.Name().empty()) << server.Problem();
    SetEnvironment("DISPLAY", server.Name());
    WriteMacro("macro.ow",
               "If(FindWindow(\"No such window\"),PutVar(%A,1))\nWriteToFile(started.txt,yes)\nDelay(-1)\n");
    auto child = Start({"/r", "macro.ow"});
    ASSERT_TRUE(AwaitFile("started.txt")) << child->Errors();
    server.Kill();
    EXPECT_EQ(child->Wait(kBound), 3) << child->Errors();
    EXPECT_NE(child->Errors().find("the X display went away"), std::string::npos) << child->Errors();
}

} // namespace
} // namespace ordwell::test
