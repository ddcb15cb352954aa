// Which backends the ordwell program chooses for its environment, as
// `--backends` reports them and as a Wayland session without a compositor
// that serves it meets them: the first window, key or click command says
// why once, and every such command answers FALSE.
#include <gtest/gtest.h>

#include <regex>

#include "OrdwellProgram.h"

namespace ordwell::test {
namespace {

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(OrdwellProgram, BackendsWithoutADisplayAreTheConsoleAndNoWindows) {
    const Result result = Run({"--backends"});
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.errors, "");
    EXPECT_TRUE(std::regex_match(result.output, std::regex("windows: none \\(no display\\)\n"
                                                           "keyboard: none \\(no display\\)\n"
                                                           "pointer: none \\(no display\\)\n"
                                                           "boxes: console \\(no display\\)\n"
                                                           "sound: none \\(no sound server\\)\n"
                                                           "session: none \\(no system bus\\)\n"
                                                           "dde: none \\(no session bus\\)\n"
                                                           "built: [a-z0-9 ]*console\n")))
        << result.output;
}

constexpr const char* kNoCompositor = "no Wayland compositor answers at wayland-99, and no X display is named "
                                      "(DISPLAY): window, key and click commands find no windows and answer FALSE";

TEST_F(OrdwellProgram, AWaylandSessionWithoutACompositorSaysWhyOnceAtTheFirstWindowCommand) {
    SetEnvironment("XDG_RUNTIME_DIR", m_dir.string());
    SetEnvironment("WAYLAND_DISPLAY", "wayland-99");

    const Result backends = Run({"--backends"});
    EXPECT_EQ(backends.status, 0) << backends.errors;
    EXPECT_NE(backends.output.find("windows: none (no Wayland compositor answers at wayland-99)\n"), std::string::npos)
        << backends.output;
    EXPECT_NE(backends.output.find(std::string("note: ") + kNoCompositor + "\n"), std::string::npos) << backends.output;

    std::string macro = "WriteLineToFile(results.txt,start)\n";
    for (const std::string line : {"SendKeys(\"abc\")", "FindWindow(\"Notepad\")", "ActivateWindow(\"Notepad\")",
                                   "MouseClickScreen(10,10)", "SendKeys(\"{ENTER}\")", "WindowActive(\"Notepad\")"}) {
        macro += "If(" + line + ",WriteLineToFile(results.txt,TRUE),WriteLineToFile(results.txt,FALSE))\n";
    }
    const Result run = RunMacro(macro);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadFile("results.txt"), "start\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\n");
    EXPECT_EQ(run.errors, std::string("ordwell: ") + kNoCompositor + "\n");
    EXPECT_EQ(Occurrences(ReadFile("macsys.log"), kNoCompositor), 1U) << ReadFile("macsys.log");

    // A run that uses no window, key or click command hears nothing of it.
    const Result quiet = RunMacro("PutVar(%A,1)\nMessageBox(\"Hello\")\n");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.errors, "");
}

} // namespace
} // namespace ordwell::test
