// The window commands on a real X display: a private Xvfb, with the openbox
// window manager and without any, and windows of another process (the test
// windows program). What the commands did is checked through the test's own
// X connection, apart from the code under test.
#include <csignal>
#include <gtest/gtest.h>

#include "actions/ActionCommands.h"
#include "actions/WindowLookup.h"
#include "engine/Engine.h"
#include "engine/MacroRunner.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/sim/SimulatedDesktop.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11WindowSystem.h"
#include "support/PrivateDisplay.h"
#include "support/TestWindows.h"

namespace ordwell {
namespace {

using test::PrivateDisplay;
using test::TestWindows;

// An engine whose window system is the X11 backend on the private display,
// waiting in a real event pump; the other services are simulated.
class X11Machine {
public:
    explicit X11Machine(const std::string& display)
        : m_connection(X11Connection::Open(pump, display.c_str())),
          m_windows(std::make_unique<X11WindowSystem>(*m_connection)),
          m_engine(Platform{m_sim.clock, pump, m_sim.stop, m_stack, m_sim.diagnostics, m_registry, m_files, m_paths,
                            m_sim.system, m_sim.dialogs, m_sim.clipboard, m_sim.runIcon, *m_windows, m_sim.keyboard,
                            m_sim.processes, m_sim.session, m_sim.dde}) {
        BindActionCommands(m_engine);
    }

    WindowSystem& Windows() { return *m_windows; }
    Engine& GetEngine() { return m_engine; }
    bool Line(const std::string& text) {
        CMacroRunner runner(m_engine, std::vector<std::string>{text});
        return runner.Execute(text);
    }
    WindowId Find(const std::string& pattern) { return FindWindowByTitle(*m_windows, pattern); }

    ConsoleEventPump pump{-1};

private:
    SimulatedDesktop m_sim;
    PosixStackSpace m_stack;
    SqliteRegistry m_registry{":memory:"};
    PosixFileSystem m_files;
    PosixPathMapping m_paths{[](char) { return std::string(); }};
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<X11WindowSystem> m_windows;
    Engine m_engine;
};

class X11Windows : public testing::TestWithParam<PrivateDisplay::Manager> {
protected:
    void SetUp() override {
        // A program that died must fail a test, not end the test run.
        std::signal(SIGPIPE, SIG_IGN);
        ASSERT_TRUE(display.Ready()) << display.Problem();
        machine = std::make_unique<X11Machine>(display.Name());
        program = std::make_unique<TestWindows>(display);
    }

    bool WithManager() const { return GetParam() == PrivateDisplay::Manager::Openbox; }

    PrivateDisplay display{GetParam()};
    std::unique_ptr<X11Machine> machine;
    std::unique_ptr<TestWindows> program;
};

TEST_P(X11Windows, PatternsFindTheRightWindowAmongManyAndTheUpperOfTwoWins) {
    const unsigned long report = program->Open("report", "Report - Editor");
    ASSERT_NE(report, 0U) << program->Output() << program->Errors();
    std::vector<unsigned long> others;
    for (int n = 1; n <= 8; ++n) {
        others.push_back(program->Open("other" + std::to_string(n), "Other window " + std::to_string(n)));
    }
    const unsigned long notepad = program->Open("notepad", "Untitled - Notepad");
    const unsigned long letter = program->Open("letter", "Letter - Editor");
    const unsigned long cafe = program->Open("cafe", "Café Latin", "legacy");
    const unsigned long longTitle = program->Open("long", std::string(280, 'x') + " - Long Report");
    ASSERT_NE(longTitle, 0U);

    EXPECT_EQ(machine->Find("*Notepad"), notepad);
    EXPECT_EQ(machine->Find("Untitled*"), notepad);
    EXPECT_EQ(machine->Find("*Note"), kNoWindow);
    EXPECT_EQ(machine->Find("Other window 5"), others[4]);
    EXPECT_EQ(machine->Find("Other*"), others[7]);
    EXPECT_EQ(machine->Find("*Editor"), letter);
    EXPECT_EQ(machine->Find("Caf? Latin"), cafe); // WM_NAME in Latin-1
    EXPECT_EQ(machine->Find("*Long Report"), longTitle);
    EXPECT_EQ(machine->Find("untitled - notepad"), notepad);

    // Report comes on top: now it is the upper of the two.
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("Report*"))"));
    EXPECT_EQ(machine->Find("*Editor"), report);
}

INSTANTIATE_TEST_SUITE_P(X11, X11Windows,
                         testing::Values(PrivateDisplay::Manager::Absent, PrivateDisplay::Manager::Openbox),
                         [](const testing::TestParamInfo<PrivateDisplay::Manager>& row) {
                             return row.param == PrivateDisplay::Manager::Openbox ? "Openbox" : "NoWindowManager";
                         });

} // namespace
} // namespace ordwell
