// The ordwell program itself on a headless sway: a run types into a native
// Wayland window and, ended by a signal in the middle of a text, leaves no
// key held; its boxes come to the front and give the focus back; the editor
// comes up as a native Wayland program. The program runs as the test does
// (as root too: it reaches the compositor's socket by its whole path), with
// no X display.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdlib.h>

#include "platform/wayland/WaylandWindowSystem.h"
#include "support/AwaitCondition.h"
#include "support/PrivateCompositor.h"
#include "support/TestReceiver.h"
#include "support/WaylandMachine.h"

namespace ordwell {
namespace {

using test::PrivateCompositor;
using test::TestReceiver;
using test::WaylandMachine;

constexpr auto kBound = std::chrono::seconds(30);

class WaylandProgram : public testing::Test {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        if (!PrivateCompositor::Installed()) {
            GTEST_SKIP() << "sway is not installed: the Wayland backend is not tested";
        }
        compositor = std::make_unique<PrivateCompositor>();
        ASSERT_TRUE(compositor->Ready()) << compositor->Problem();
        machine = std::make_unique<WaylandMachine>(compositor->Socket());
        ASSERT_TRUE(machine->Ready());
        receiver = std::make_unique<TestReceiver>(*compositor);
        ASSERT_TRUE(receiver->Ready()) << receiver->Errors();
        std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-run-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
    }

    void TearDown() override {
        if (!folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }

    std::unique_ptr<test::ChildProcess> Ordwell(const std::vector<std::string>& arguments) {
        test::ChildProcess::Options options;
        options.directory = folder;
        options.noInput = true;
        options.environment = {"PATH=/usr/bin:/bin", "HOME=" + folder, "XDG_CONFIG_HOME=" + folder + "/config",
                               "XDG_RUNTIME_DIR=" + folder, "WAYLAND_DISPLAY=" + compositor->Socket()};
        // A sanitizer build's checks read their options (the leak check's
        // suppressions of libraries' own memory) from the environment.
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
            if (const char* value = std::getenv(name)) {
                options.environment.push_back(std::string(name) + "=" + value);
            }
        }
        return std::make_unique<test::ChildProcess>(ORDWELL_EXECUTABLE, arguments, options);
    }

    std::unique_ptr<PrivateCompositor> compositor;
    std::unique_ptr<WaylandMachine> machine;
    std::unique_ptr<TestReceiver> receiver;
    std::string folder;
};

TEST_F(WaylandProgram, ARunEndedBySigtermInTheMiddleOfATextLeavesNoKeyHeld) {
    ASSERT_TRUE(receiver->Open("editor", "Typing Target"));
    ASSERT_TRUE(test::AwaitCondition([&] { return machine->Find("Typing Target") != kNoWindow; }, kBound));
    std::ofstream(folder + "/macro.ow") << "ActivateWindow(\"Typing Target\")\r\nSendKeys(\"+("
                                        << std::string(20000, 'a') << ")\")\r\nSendKeys(\"xyz\")\r\n";
    const auto ordwell = Ordwell({"/r", "macro.ow"});
    // Typing has begun once the window has some of the text.
    ASSERT_TRUE(test::AwaitCondition([&] { return receiver->Text("editor").size() >= 20; }, kBound))
        << ordwell->Errors();
    ordwell->Signal(SIGTERM);
    EXPECT_EQ(ordwell->Wait(kBound), 0) << ordwell->Errors();
    // What the run typed is all capitals, and once it has all arrived (the
    // next keys come after it) nothing is held: "ok" arrives as written.
    machine->Send("ok");
    std::string received;
    ASSERT_TRUE(test::AwaitCondition(
        [&] {
            received = receiver->Text("editor");
            return received.size() >= 2 && received.compare(received.size() - 2, 2, "ok") == 0;
        },
        kBound));
    EXPECT_LT(received.size(), 20000U);
    EXPECT_EQ(received, std::string(received.size() - 2, 'A') + "ok");
    EXPECT_TRUE(receiver->AwaitNothingHeld("editor")) << receiver->KeysHeld("editor");
}

TEST_F(WaylandProgram, AMessageBoxComesToTheFrontAndGivesTheActiveWindowBack) {
    ASSERT_TRUE(receiver->Open("editor", "Typing Target"));
    ASSERT_TRUE(test::AwaitCondition([&] { return machine->Find("Typing Target") != kNoWindow; }, kBound));
    const WindowId target = machine->Find("Typing Target");
    ASSERT_TRUE(machine->Windows().Activate(target, {30000, {}}));
    // sway gives a new window the focus by itself; this one it does not, so
    // the box must take the focus as a program may on Wayland.
    ASSERT_NE(compositor->Ask({"no_focus", "[title=\"^Box in Front$\"]"}), "");
    std::ofstream(folder + "/macro.ow") << "SetCaption(\"Box in Front\")\r\nMessageBox(\"Answer me\")\r\n"
                                        << "SendKeys(\"back\")\r\n";
    const auto ordwell = Ordwell({"/r", "macro.ow"});
    WindowId box = kNoWindow;
    ASSERT_TRUE(test::AwaitCondition(
        [&] {
            box = machine->Find("Box in Front");
            return box != kNoWindow && machine->Windows().ActiveWindow() == box;
        },
        kBound))
        << ordwell->Errors();
    // Enter answers the box, and the macro types into the window that was
    // active before it.
    machine->Send("~");
    EXPECT_EQ(ordwell->Wait(kBound), 0) << ordwell->Errors();
    EXPECT_EQ(receiver->AwaitText("editor", 4), "back");
    EXPECT_EQ(machine->Windows().ActiveWindow(), target);
}

TEST_F(WaylandProgram, TheEditorComesUpAsANativeWaylandWindow) {
    const auto editor = Ordwell({"new.ow"});
    EXPECT_TRUE(test::AwaitCondition([&] { return machine->Find("*Ordwell") != kNoWindow; }, kBound))
        << editor->Errors();
    const WindowId window = machine->Find("*Ordwell");
    EXPECT_EQ(machine->Windows().AppId(window).empty(), false);
    editor->Signal(SIGTERM);
    editor->Wait(kBound);
}

// No Wayland protocol lets a client watch the input of others: a recording
// says so, and leaves the file alone.
TEST_F(WaylandProgram, ARecordingSaysWaylandCannotBeRecorded) {
    std::ofstream(folder + "/kept.ow") << "Beep()\r\n";
    const auto ordwell = Ordwell({"--record", "kept.ow"});
    EXPECT_EQ(ordwell->Wait(kBound), 2) << ordwell->Errors();
    EXPECT_NE(ordwell->Errors().find("ordwell: cannot record: recording needs an X display: no Wayland protocol"),
              std::string::npos)
        << ordwell->Errors();
    std::ifstream kept(folder + "/kept.ow");
    std::string content((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "Beep()\r\n");
}

} // namespace
} // namespace ordwell
