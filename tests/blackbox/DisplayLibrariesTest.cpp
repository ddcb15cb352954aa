// What a run with a display loads: nothing of the display until a window,
// key or click command (or the stop key, once the run has lasted) needs it,
// then the x11 module and Xlib, and never the toolkit for such commands; Qt
// only for a box or the run icon of a run that lasts. A run whose Qt module
// is missing refuses its boxes and goes on. Where what is loaded at a moment
// of the run matters, the run copies its own /proc/self/maps then.
#include <X11/keysym.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "OrdwellProgram.h"
#include "support/AwaitCondition.h"
#include "support/PrivateDisplay.h"

namespace ordwell::test {
namespace {

class DisplayLibraries : public OrdwellProgram {
protected:
    void SetUp() override {
        m_screen = std::make_unique<PrivateDisplay>(m_dir, false);
        ASSERT_TRUE(m_screen->Ready()) << m_screen->Problem();
        SetEnvironment("DISPLAY", m_screen->Name());
    }

    // The objects mapped into the run of `macro` at its end.
    std::string MapsAtTheEndOf(const std::string& macro) {
        // (A copy keeps the mode of the original, which only reads.)
        std::filesystem::remove(m_dir / "maps.txt");
        const Result run = RunMacro(macro + "CopyFile(\"/proc/self/maps\",\"maps.txt\")\n");
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.errors, "");
        return ReadFile("maps.txt");
    }
    // Starts a run of `macro`, which then writes ready.txt and waits.
    std::unique_ptr<ChildProcess> StartWaitingRun(const std::string& macro) {
        std::filesystem::remove(m_dir / "ready.txt");
        WriteMacro("macro.ow", macro + "WriteToFile(ready.txt,yes)\nDelay(60000)\n");
        auto child = Start({"/r", "macro.ow"});
        EXPECT_TRUE(AwaitCondition([&] { return std::filesystem::exists(m_dir / "ready.txt"); }, kBound))
            << child->Errors();
        return child;
    }
    static std::string Maps(const ChildProcess& child) {
        std::ifstream file("/proc/" + std::to_string(child.Pid()) + "/maps");
        std::stringstream maps;
        maps << file.rdbuf();
        return maps.str();
    }
    static bool Has(const std::string& maps, const std::string& name) { return maps.find(name) != std::string::npos; }
    static void Stop(ChildProcess& child) {
        child.Signal(SIGTERM);
        EXPECT_EQ(child.Wait(kBound), 0) << child.Errors();
    }
    void SetStopKey(const std::string& key) {
        const Result set = RunMacro(R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Halvane\Ordwell\System",StopKey,")" +
                                    key + "\")\n");
        ASSERT_EQ(set.status, 0) << set.errors;
    }

    std::unique_ptr<PrivateDisplay> m_screen;
};

TEST_F(DisplayLibraries, ARunLoadsTheX11ModuleOnItsFirstWindowCommandAndNoToolkit) {
    SetStopKey("none");
    const std::string plain = MapsAtTheEndOf("PutVar(%A,1)\n");
    for (const char* library : {"libQt6", "libX11", "libxcb", "libwayland", "libordwell-"}) {
        EXPECT_FALSE(Has(plain, library)) << library << " is loaded:\n" << plain;
    }

    const std::string found = MapsAtTheEndOf("If(FindWindow(\"No such window\"),PutVar(%A,1))\n");
    EXPECT_TRUE(Has(found, "libordwell-x11.so")) << found;
    EXPECT_TRUE(Has(found, "libX11")) << found;
    for (const char* library : {"libQt6", "libordwell-qt", "libwayland", "libordwell-wayland", "libpulse"}) {
        EXPECT_FALSE(Has(found, library)) << library << " is loaded:\n" << found;
    }
}

// A run that lasts shows its icon, which Qt brings; a box does too.
TEST_F(DisplayLibraries, ARunLoadsTheToolkitForItsIconOnceItHasLastedAndForABox) {
    SetStopKey("none");
    const std::string lasting = MapsAtTheEndOf("Delay(1000)\n");
    EXPECT_TRUE(Has(lasting, "libordwell-qt.so")) << lasting;
    EXPECT_TRUE(Has(lasting, "libQt6Widgets")) << lasting;

    // The box waits for an answer; the stop request ends it and the run.
    WriteMacro("box.ow", "MessageBox(Hello)\n");
    auto box = Start({"/r", "box.ow"});
    ASSERT_TRUE(AwaitCondition([&] { return Has(Maps(*box), "libQt6Widgets"); }, kBound)) << box->Errors();
    Stop(*box);
}

// The module folder without the Qt module: boxes say why once and answer
// Cancel, the rest of the run goes on.
TEST_F(DisplayLibraries, ARunWithoutTheQtModuleRefusesItsBoxesAndGoesOn) {
    const std::filesystem::path modules = m_dir / "modules";
    std::filesystem::create_directory(modules);
    const std::filesystem::path built =
        std::filesystem::path(ORDWELL_EXECUTABLE).parent_path().parent_path() / "lib" / "ordwell";
    for (const auto& entry : std::filesystem::directory_iterator(built)) {
        if (entry.path().filename() != "libordwell-qt.so") {
            std::filesystem::create_symlink(entry.path(), modules / entry.path().filename());
        }
    }
    SetEnvironment("ORDWELL_MODULE_DIR", modules.string());
    const Result run = RunMacro("MessageBox(hello)\n"
                                "InputBox(name?,%B)\n"
                                "Delay(500)\n"
                                "WriteToFile(end.txt,done)\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(ReadFile("end.txt"), "done");
    EXPECT_EQ(run.errors, "ordwell: message and input boxes cannot be shown: ordwell's qt module cannot be loaded (" +
                              modules.string() +
                              "/libordwell-qt.so: cannot open shared object file: No such file or directory)\n");
}

// The stop key of a run that uses no window command is grabbed once the run
// has lasted a little, and then stops it.
TEST_F(DisplayLibraries, TheStopKeyOfALongerRunIsGrabbedLateAndStopsIt) {
    auto run = StartWaitingRun("");
    ASSERT_TRUE(AwaitCondition([&] { return Has(Maps(*run), "libordwell-x11.so"); }, kBound)) << run->Errors();
    const int pause = m_screen->KeycodeOf(XK_Pause);
    ASSERT_NE(pause, 0);
    // The grab follows the module's load: Pause is pressed until it stops
    // the run.
    std::optional<int> status;
    EXPECT_TRUE(AwaitCondition(
        [&] {
            m_screen->SendKey(pause, true);
            m_screen->SendKey(pause, false);
            status = run->Wait(std::chrono::milliseconds(20));
            return status.has_value();
        },
        kBound));
    EXPECT_EQ(status, 0) << run->Errors();
    EXPECT_EQ(run->Errors(), "");
}

} // namespace
} // namespace ordwell::test
