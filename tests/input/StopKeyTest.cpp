// The stop key: its setting read as key combination text, its grab for the
// length of a run, and the stop of every nested run it gives.
#include <gtest/gtest.h>

#include "engine/SystemSettings.h"
#include "input/KeyCombinationText.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

constexpr KeyCombination kPause{0x13, 0};
constexpr KeyCombination kCtrlAltF12{0x7B, KeyCombination::kControl | KeyCombination::kAlt};

TEST(KeyCombinationText, ReadsModifiersAndOneKeyAndWritesThemBack) {
    struct Row {
        const char* text;
        KeyCombination key;
        const char* written;
        const char* label;
    };
    const Row rows[] = {
        {"{PAUSE}", kPause, "{PAUSE}", "Pause"},
        {"{pause}", kPause, "{PAUSE}", "Pause"},
        {"%^{f12}", kCtrlAltF12, "^%{F12}", "Ctrl+Alt+F12"},
        {"^+q", {'Q', KeyCombination::kControl | KeyCombination::kShift}, "^+q", "Ctrl+Shift+Q"},
        {"^Q", {'Q', KeyCombination::kControl}, "^q", "Ctrl+Q"},
        {"%7", {'7', KeyCombination::kAlt}, "%7", "Alt+7"},
        {"~", {0x0D, 0}, "{ENTER}", "Enter"},
        {"{x}", {'X', 0}, "x", "X"},
    };
    for (const Row& row : rows) {
        const std::optional<KeyCombination> key = ReadKeyCombination(row.text);
        ASSERT_TRUE(key) << row.text;
        EXPECT_EQ(*key, row.key) << row.text;
        EXPECT_EQ(KeyCombinationText(*key), row.written) << row.text;
        EXPECT_EQ(KeyCombinationLabel(*key), row.label) << row.text;
        EXPECT_EQ(ReadKeyCombination(KeyCombinationText(*key)), key) << row.text;
    }
    for (const char* refused :
         {"", "^", "ab", "{F5}{F6}", "{F5 2}", "{delay 100}", "{xyz}", "é", "!", "^(a)", "{PAUSE", "none"}) {
        EXPECT_FALSE(ReadKeyCombination(refused)) << refused;
    }
}

class StopKeyTest : public testing::Test {
protected:
    SimulatedKeyGrabs& Grabs() { return desk.Sim().keyGrabs; }
    void SetStopKey(const std::string& text) {
        desk.GetEngine().GetSettings().WriteString(kSystemSection, kStopKeyKey, text);
    }

    TestDesktop desk;
};

TEST_F(StopKeyTest, PauseIsGrabbedWhileARunLastsAndStopsItAndEveryMacroItRuns) {
    std::vector<std::vector<KeyCombination>> seen;
    desk.WriteFile("inner.ow", "Delay(-1)\n");
    desk.Sim().pump.At(5000, [&] {
        seen.push_back(Grabs().Grabbed());
        Grabs().Press(kPause);
    });
    auto runner = desk.Run({"RunMacro(inner.ow)", "PutVar(%A,never)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Var('A'), "");
    // One grab for the outermost run, none after it.
    EXPECT_EQ(seen, std::vector<std::vector<KeyCombination>>{{kPause}});
    EXPECT_TRUE(Grabs().Grabbed().empty());

    // The next run starts afresh.
    runner = desk.Run({"PutVar(%A,ran)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "ran");
}

TEST_F(StopKeyTest, TheSettingChoosesTheKeyOrNoneAndAKeyTakenOrUnreadableIsReported) {
    SetStopKey("^%{F12}");
    std::vector<KeyCombination> grabbed;
    desk.Sim().pump.At(1000, [&] {
        grabbed = Grabs().Grabbed();
        Grabs().Press(kPause); // no longer the stop key
    });
    desk.Sim().pump.At(2000, [&] { Grabs().Press(kCtrlAltF12); });
    auto runner = desk.Run({"Delay(1500)", "PutVar(%A,on)", "Delay(-1)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Var('A'), "on");
    EXPECT_EQ(grabbed, std::vector<KeyCombination>{kCtrlAltF12});

    for (const char* none : {"none", "NONE", ""}) {
        SetStopKey(none);
        desk.Sim().pump.After(0, [&] { grabbed = Grabs().Grabbed(); });
        desk.Run({"Delay(10)"});
        EXPECT_TRUE(grabbed.empty()) << none;
    }
    EXPECT_EQ(desk.Sim().diagnostics.Transcript(), "");

    SetStopKey("{F99}");
    desk.Run({"Delay(10)"});
    EXPECT_NE(desk.Sim().diagnostics.Transcript().find("the stop key \"{F99}\" of the settings is no key combination"),
              std::string::npos);

    SetStopKey("{PAUSE}");
    Grabs().TakeElsewhere(kPause);
    runner = desk.Run({"Delay(10)", "PutVar(%B,ran)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('B'), "ran");
    EXPECT_NE(desk.Sim().diagnostics.Transcript().find("another program holds the stop key Pause"), std::string::npos);

    // A console switch reaches no program: the run has no stop key.
    SetStopKey("^%{F1}");
    Grabs().Reserve({0x70, KeyCombination::kControl | KeyCombination::kAlt});
    EXPECT_EQ(desk.Run({"PutVar(%B,again)"})->Outcome(), RunOutcome::Completed);
    EXPECT_NE(desk.Sim().diagnostics.Transcript().find(
                  "the stop key Ctrl+Alt+F1 switches consoles, and reaches no program; this run has no stop key"),
              std::string::npos);

    // Where no program may watch keys, a run has none, and says nothing.
    Grabs().SetAvailable(false);
    const std::string before = desk.Sim().diagnostics.Transcript();
    EXPECT_EQ(desk.Run({"PutVar(%C,ran)"})->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Sim().diagnostics.Transcript(), before);
}

} // namespace
} // namespace ordwell
