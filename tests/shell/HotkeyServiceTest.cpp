// The hotkey table in the settings, and the resident service that grabs its
// combinations and starts each macro in a process of its own, once at a time.
#include <gtest/gtest.h>

#include "engine/Settings.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/sim/SimulatedDesktop.h"
#include "shell/HotkeyService.h"
#include "shell/HotkeyTable.h"

namespace ordwell {
namespace {

constexpr KeyCombination kCtrlAltF5{0x74, KeyCombination::kControl | KeyCombination::kAlt};
constexpr KeyCombination kShiftF6{0x75, KeyCombination::kShift};

TEST(HotkeyTable, RowsAreWrittenAndReadBackAndAShorterTableHidesTheRest) {
    SqliteRegistry registry(":memory:");
    Settings settings(registry);
    EXPECT_TRUE(ReadHotkeys(settings).empty());
    const std::vector<Hotkey> table{{"^%{F5}", "/home/ann/backup.ow"}, {"+{F6}", "/tmp/it's here.ow"}};
    ASSERT_TRUE(WriteHotkeys(settings, table));
    EXPECT_EQ(ReadHotkeys(settings), table);
    EXPECT_EQ(settings.GetString("Hotkeys", "Key2", ""), "+{F6}");
    ASSERT_TRUE(WriteHotkeys(settings, {table[1]}));
    EXPECT_EQ(ReadHotkeys(settings), std::vector<Hotkey>{table[1]});
    // A damaged count reads what is there.
    settings.WriteInt("Hotkeys", "Count", 5);
    EXPECT_EQ(ReadHotkeys(settings).size(), 2U);
}

class HotkeyServiceTest : public testing::Test {
protected:
    SimulatedDesktop sim;
    HotkeyService service{sim.keyGrabs, sim.processes, sim.diagnostics, "/usr/bin/ordwell"};
};

TEST_F(HotkeyServiceTest, APressRunsItsMacroAsItsOwnRunButNotASecondTimeWhileItRuns) {
    EXPECT_TRUE(service.Load({{"^%{F5}", "/home/ann/backup.ow"}, {"+{F6}", "/tmp/it's here.ow"}}).empty());
    EXPECT_EQ(sim.keyGrabs.Grabbed(), (std::vector<KeyCombination>{kCtrlAltF5, kShiftF6}));

    sim.keyGrabs.Press(kCtrlAltF5);
    sim.keyGrabs.Press(kCtrlAltF5); // still running
    sim.keyGrabs.Press(kShiftF6);
    EXPECT_EQ(sim.processes.Transcript(), "open [/usr/bin/ordwell] /r '/home/ann/backup.ow'\n"
                                          "open [/usr/bin/ordwell] /r '/tmp/it'\\''s here.ow'\n");
    sim.processes.End(1);
    sim.keyGrabs.Press(kCtrlAltF5);
    EXPECT_EQ(sim.processes.LastId(), 3);
    EXPECT_FALSE(service.Start(0)); // the third runs
    EXPECT_EQ(sim.diagnostics.Transcript(), "/home/ann/backup.ow still runs; its hotkey does not start it again\n"
                                            "/home/ann/backup.ow still runs; its hotkey does not start it again\n");
    EXPECT_FALSE(service.Start(7));

    service.Clear();
    EXPECT_TRUE(sim.keyGrabs.Grabbed().empty());
}

TEST_F(HotkeyServiceTest, RowsThatCannotServeAreSaidAndTheOthersServe) {
    sim.keyGrabs.TakeElsewhere(kShiftF6);
    sim.keyGrabs.Reserve({0x70, KeyCombination::kControl | KeyCombination::kAlt});
    const std::vector<std::string> problems = service.Load(
        {{"^%{F5}", "a.ow"}, {"+{F6}", "b.ow"}, {"%^{f5}", "c.ow"}, {"{F5}{F6}", "d.ow"}, {"^%{F1}", "f.ow"}});
    EXPECT_EQ(problems,
              (std::vector<std::string>{"the hotkey Shift+F6 of b.ow is held by another program",
                                        "the hotkey Ctrl+Alt+F5 of c.ow is another macro's already",
                                        "the hotkey \"{F5}{F6}\" of d.ow is no key combination",
                                        "the hotkey Ctrl+Alt+F1 of f.ow switches consoles, and reaches no program"}));
    EXPECT_EQ(service.Serving(), std::vector<Hotkey>{(Hotkey{"^%{F5}", "a.ow"})});
    // A second load gives up the first one's grabs.
    EXPECT_TRUE(service.Load({{"^{F7}", "e.ow"}}).empty());
    EXPECT_EQ(sim.keyGrabs.Grabbed(), (std::vector<KeyCombination>{{0x76, KeyCombination::kControl}}));

    sim.keyGrabs.SetAvailable(false);
    EXPECT_EQ(service.Load({{"^{F7}", "e.ow"}}),
              std::vector<std::string>{"the hotkey Ctrl+F7 of e.ow cannot be watched on this display"});
}

} // namespace
} // namespace ordwell
