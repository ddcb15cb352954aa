// Clicks of whole ordwell runs into the buttons of GTK 3 and Qt 6 programs
// on a private X server with a window manager: the program sees the click or
// the double click, and the pointer is back where the user left it.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "blackbox/ChildProcess.h"
#include "support/AwaitCondition.h"
#include "support/PrivateDisplay.h"

namespace ordwell {
namespace {

using test::PrivateDisplay;

// Where the user left the pointer: away from the receiver's window.
constexpr int kUserX = 3;
constexpr int kUserY = 4;

class X11ClicksIntoToolkits : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        ASSERT_TRUE(display.Ready()) << display.Problem();
        test::ChildProcess::Options options;
        options.directory = display.Home();
        options.environment = display.Environment();
        options.environment.push_back("QT_QPA_PLATFORM=xcb");
        options.environment.push_back("LC_ALL=C.UTF-8");
        options.noInput = true;
        if (Toolkit() == "gtk") {
            receiver = std::make_unique<test::ChildProcess>(
                "/usr/bin/python3", std::vector<std::string>{CLICK_RECEIVER_SCRIPT, kTitle}, options);
        } else {
            receiver =
                std::make_unique<test::ChildProcess>(CLICK_RECEIVER_QT, std::vector<std::string>{kTitle}, options);
        }
        ASSERT_TRUE(receiver->WaitForOutput([](const std::string& out) { return out.find('\n') != std::string::npos; },
                                            std::chrono::seconds(30)))
            << receiver->Errors();
        std::istringstream ready(receiver->Output());
        std::string word;
        ready >> word >> window;
        ASSERT_EQ(word, "ready") << receiver->Output() << receiver->Errors();
        // Shown, and where a window manager runs, taken on and activated.
        ASSERT_TRUE(test::AwaitCondition(
            [&] { return Bare() ? display.Viewable(window) : display.NetActiveWindow() == window; },
            std::chrono::seconds(30)));
        const std::vector<int> at = display.RootPosition(window);
        const std::vector<int> size = display.Geometry(window);
        ASSERT_EQ(at.size(), 2U);
        ASSERT_EQ(size.size(), 4U);
        centre = std::to_string(at[0] + size[2] / 2) + "," + std::to_string(at[1] + size[3] / 2);
        display.MovePointer(kUserX, kUserY);
        ASSERT_EQ(display.Pointer(), (std::vector<int>{kUserX, kUserY}));
        seen = receiver->Output().size();
    }

    // Runs the one-line macro as `ordwell /r` does; its exit code.
    int Run(const std::string& line) {
        const std::string folder = display.Home() + "/run";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/macro.ow", std::ios::trunc) << line << "\r\n";
        test::ChildProcess::Options options;
        options.directory = folder;
        options.environment = display.Environment();
        options.noInput = true;
        test::ChildProcess ordwell(ORDWELL_EXECUTABLE, {"/r", "macro.ow"}, options);
        const std::optional<int> code = ordwell.Wait(std::chrono::seconds(60));
        EXPECT_EQ(code, 0) << ordwell.Errors();
        return code.value_or(-1);
    }

    // What the receiver reported since it was ready, once it has reported
    // `clicks` clicks (or a generous bound passed).
    std::string Reported(int clicks) {
        const auto count = [&](const std::string& out) {
            const std::string since = out.substr(seen);
            return static_cast<int>(std::count(since.begin(), since.end(), '\n')) -
                   static_cast<int>(since.find("double") != std::string::npos ? 1 : 0);
        };
        receiver->WaitForOutput([&](const std::string& out) { return count(out) >= clicks; }, std::chrono::seconds(30));
        return receiver->Output().substr(seen);
    }

    // The run has ended: the pointer is back already.
    void ExpectThePointerBack() { EXPECT_EQ(display.Pointer(), (std::vector<int>{kUserX, kUserY})); }

    // "gtk" or "qt", with openbox; "-bare" after it, on a display without a
    // window manager.
    std::string Toolkit() const { return std::string(GetParam()).substr(0, 3) == "gtk" ? "gtk" : "qt"; }
    bool Bare() const { return std::string(GetParam()).ends_with("-bare"); }

    static constexpr const char* kTitle = "Click Receiver";
    PrivateDisplay display{Bare() ? PrivateDisplay::Manager::Absent : PrivateDisplay::Manager::Openbox};
    std::unique_ptr<test::ChildProcess> receiver;
    unsigned long window = 0;
    std::string centre;
    std::size_t seen = 0;
};

TEST_P(X11ClicksIntoToolkits, MouseClickScreenClicksTheButtonAndPutsThePointerBack) {
    ASSERT_EQ(Run("MouseClickScreen(" + centre + ")"), 0);
    EXPECT_EQ(Reported(1), "click\n") << receiver->Errors();
    ExpectThePointerBack();
}

TEST_P(X11ClicksIntoToolkits, MouseDblClickScreenDoubleClicksTheButtonAndPutsThePointerBack) {
    ASSERT_EQ(Run("MouseDblClickScreen(" + centre + ")"), 0);
    // Two clicks of the button, the second of them a double click.
    EXPECT_EQ(Reported(2), "click\ndouble\nclick\n") << receiver->Errors();
    ExpectThePointerBack();
}

INSTANTIATE_TEST_SUITE_P(Toolkits, X11ClicksIntoToolkits, testing::Values("gtk", "qt", "gtk-bare", "qt-bare"));

} // namespace
} // namespace ordwell
