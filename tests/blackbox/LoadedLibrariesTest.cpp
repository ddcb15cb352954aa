// What a run loads: a run with no display loads none of the toolkit, the
// display, sound or D-Bus libraries, and a module only when a command needs
// it; a run whose modules or desktop program are missing still runs.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "OrdwellProgram.h"

namespace ordwell::test {
namespace {

// The libraries that only some commands need.
const char* const kHeavy[] = {"libQt6", "libX11", "libxcb", "libwayland", "libpulse", "libsndfile", "libsystemd"};

class LoadedLibraries : public OrdwellProgram {
protected:
    // The objects mapped into the run of `macro` once it printed "ready" (a
    // box on the terminal), while it waits; the run is then stopped.
    std::string MapsOfRun(const std::string& macro) {
        WriteMacro("macro.ow", macro + "MessageBox(ready)\nDelay(60000)\n");
        auto child = Start({"/r", "macro.ow"});
        const bool ready =
            child->WaitForOutput([](const std::string& out) { return out.find("ready") != std::string::npos; }, kBound);
        EXPECT_TRUE(ready) << child->Errors();
        std::ifstream file("/proc/" + std::to_string(child->Pid()) + "/maps");
        std::stringstream maps;
        maps << file.rdbuf();
        child->Signal(SIGTERM);
        EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
        m_errors = child->Errors();
        return maps.str();
    }
    static bool Maps(const std::string& maps, const std::string& name) { return maps.find(name) != std::string::npos; }

    std::string m_errors;
};

TEST_F(LoadedLibraries, ARunWithNoDisplayLoadsOnlyWhatItsCommandsNeed) {
    const std::string plain = MapsOfRun("PutVar(%A,1)\nWriteToFile(a.txt,%A)\n");
    for (const char* heavy : kHeavy) {
        EXPECT_FALSE(Maps(plain, heavy)) << heavy << " is loaded:\n" << plain;
    }
    EXPECT_FALSE(Maps(plain, "libordwell-")) << plain;
    // Nor was the settings store opened: no command of it reads a setting.
    EXPECT_FALSE(std::filesystem::exists(m_dir / "config" / "ordwell" / "registry.sqlite"));

    // The first PlaySound loads the sound module, and only it.
    const std::string sound = MapsOfRun("PlaySound(nothing.wav)\n");
    EXPECT_TRUE(Maps(sound, "libordwell-sound.so")) << sound;
    EXPECT_TRUE(Maps(sound, "libsndfile")) << sound;
    EXPECT_FALSE(Maps(sound, "libQt6")) << sound;
    EXPECT_FALSE(Maps(sound, "libordwell-dbus.so")) << sound;

    // The first DDE command loads the D-Bus module.
    const std::string dde = MapsOfRun("DdeCommand(Shop,System,[Hello])\n");
    EXPECT_TRUE(Maps(dde, "libordwell-dbus.so")) << dde;
    EXPECT_FALSE(Maps(dde, "libQt6")) << dde;
    EXPECT_FALSE(Maps(dde, "libordwell-sound.so")) << dde;
}

// A module folder without the modules and the desktop program: what needs
// them says why, once, and answers FALSE or Cancel; the rest of the run goes
// on.
class MissingModules : public OrdwellProgram {
protected:
    MissingModules() {
        std::filesystem::create_directory(m_dir / "modules");
        SetEnvironment("ORDWELL_MODULE_DIR", (m_dir / "modules").string());
    }
    static int Count(const std::string& text, const std::string& part) {
        int count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }
};

TEST_F(MissingModules, ARunWithNoDisplayGoesOnWithoutThem) {
    const Result run = RunMacro("MessageBox(hello)\n"
                                "If(PlaySound(a.wav),WriteToFile(s.txt,TRUE),WriteToFile(s.txt,FALSE))\n"
                                "PlaySound(b.wav)\n"
                                "WriteToFile(end.txt,done)\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, "[Ordwell] hello\n");
    EXPECT_EQ(ReadFile("s.txt"), "FALSE");
    EXPECT_EQ(ReadFile("end.txt"), "done");
    EXPECT_EQ(Count(run.errors, "PlaySound plays nothing: ordwell's sound module cannot be loaded ("), 1) << run.errors;
    EXPECT_EQ(Count(run.errors, "\n"), 1) << run.errors;
}

TEST_F(MissingModules, ARunWithADisplayRefusesBoxesAndFindsNoWindows) {
    // Nothing needs to answer at the display: without the x11 and qt modules
    // nothing connects to it.
    SetEnvironment("DISPLAY", ":97");
    const Result run = RunMacro("MessageBox(hello)\n"
                                "PutVar(%A,%R)\n"
                                "InputBox(name?,%B)\n"
                                "If(FindWindow(Anything),WriteToFile(w.txt,TRUE),WriteToFile(w.txt,FALSE))\n"
                                "If(SendKeys(abc),PutVar(%C,1))\n"
                                "If(FindWindow(Other),WriteToFile(v.txt,TRUE),WriteToFile(v.txt,FALSE))\n"
                                "WriteToFile(a.txt,%A)\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(ReadFile("w.txt"), "FALSE");
    EXPECT_EQ(ReadFile("v.txt"), "FALSE");
    EXPECT_EQ(Count(run.errors, "message and input boxes cannot be shown: ordwell's qt module cannot be loaded ("), 1)
        << run.errors;
    EXPECT_EQ(Count(run.errors, "ordwell's x11 module cannot be loaded ("), 1) << run.errors;
    EXPECT_EQ(Count(run.errors, "window, key and click commands find no windows and answer FALSE"), 1) << run.errors;
}

TEST_F(MissingModules, TheEditorSaysWhyItCannotStart) {
    SetEnvironment("DISPLAY", ":97");
    WriteMacro("macro.ow", "Beep()\n");
    const Result run = Run({"macro.ow"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.errors, "ordwell: ordwell's desktop program cannot be started: " + (m_dir / "modules").string() +
                              "/ordwell-desktop: No such file or directory\n");
}

} // namespace
} // namespace ordwell::test
