// DdeCommand and DdeScript on the simulated desktop: what reaches the
// servers, in which order, and what the commands answer.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "dde/DdeConversation.h"
#include "dde/DdeInstance.h"
#include "support/TestDesktop.h"

namespace ordwell::test {
namespace {

class DdeCommands : public testing::Test {
protected:
    DdeCommands() {
        dde().Serve("Shop", "Orders");
        dde().Serve("Shop", "System");
    }
    SimulatedDdeClient& dde() { return desk.Sim().dde; }
    std::uint64_t Now() { return desk.Sim().clock.MonotonicMs(); }

    TestDesktop desk;
};

TEST_F(DdeCommands, CommandReachesOnlyAServedTopic) {
    EXPECT_TRUE(desk.Line("DdeCommand(Shop,Orders,[New(1)])"));
    EXPECT_FALSE(desk.Line("DdeCommand(Shop,Stock,[New(2)])"));
    EXPECT_FALSE(desk.Line("DdeCommand(Shed,Orders,[New(3)])"));
    EXPECT_FALSE(desk.Line("DdeCommand(shop,orders,[New(4)])"));
    EXPECT_EQ(dde().Transcript(), "initialize\nconnect Shop|Orders\nShop|Orders: [New(1)]\nuninitialize\n"
                                  "initialize\nconnect Shop|Stock (no server)\nuninitialize\n"
                                  "initialize\nconnect Shed|Orders (no server)\nuninitialize\n"
                                  "initialize\nconnect shop|orders (no server)\nuninitialize\n");
    // No server, no wait.
    EXPECT_EQ(Now(), 0U);
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
}

TEST_F(DdeCommands, EveryCommandJoinsAndLeavesTheServiceAnew) {
    EXPECT_TRUE(desk.Line("DdeCommand(Shop,Orders,first)"));
    EXPECT_TRUE(desk.Line("DdeCommand(Shop,Orders,second)"));
    EXPECT_EQ(dde().Transcript(), "initialize\nconnect Shop|Orders\nShop|Orders: first\nuninitialize\n"
                                  "initialize\nconnect Shop|Orders\nShop|Orders: second\nuninitialize\n");
    EXPECT_FALSE(dde().Initialized());
    EXPECT_EQ(desk.GetEngine().Shared<DdeInstance>().Conversations(), 0);
}

TEST_F(DdeCommands, NoServiceAnswersFalseAtOnce) {
    dde().SetUnavailable(true);
    desk.WriteFile("script.txt", "one\n");
    EXPECT_FALSE(desk.Line("DdeCommand(Shop,Orders,one)"));
    EXPECT_FALSE(desk.Line("DdeScript(Shop,Orders,script.txt)"));
    EXPECT_EQ(dde().Transcript(), "initialize (failed)\ninitialize (failed)\n");
    EXPECT_EQ(Now(), 0U);
    // The next command tries again.
    dde().SetUnavailable(false);
    EXPECT_TRUE(desk.Line("DdeCommand(Shop,Orders,two)"));
}

TEST_F(DdeCommands, ScriptSendsEveryLineThatIsNotEmptyInOrder) {
    desk.WriteFile("script.txt", "[Open]\n\n\n[Add(1)]\n\n[Close]");
    EXPECT_TRUE(desk.Line("DdeScript(Shop,Orders,script.txt)"));
    EXPECT_EQ(dde().Transcript(), "initialize\nconnect Shop|Orders\n"
                                  "Shop|Orders: [Open]\nShop|Orders: [Add(1)]\nShop|Orders: [Close]\n"
                                  "uninitialize\n");
}

TEST_F(DdeCommands, ScriptLinesGoExactlyAsTheyStand) {
    desk.SetVar('A', "substituted");
    // CR LF ends a line; a lone CR, blanks, quotes and variable references are
    // part of the text.
    desk.WriteFile("script.txt", "[One]\r\n\r\n  padded  \r\n%A \"quoted\";\r\nmid\rdle\r\n \r\n");
    EXPECT_TRUE(desk.Line("DdeScript(Shop,System,script.txt)"));
    EXPECT_EQ(dde().Transcript(), "initialize\nconnect Shop|System\n"
                                  "Shop|System: [One]\n"
                                  "Shop|System:   padded  \n"
                                  "Shop|System: %A \"quoted\";\n"
                                  "Shop|System: mid\rdle\n"
                                  "Shop|System:  \n"
                                  "uninitialize\n");
}

TEST_F(DdeCommands, LongScriptLinesGoWhole) {
    const std::string lines[] = {std::string(199, 'a'), std::string(200, 'b'), std::string(201, 'c'),
                                 std::string(5000, 'd')};
    desk.WriteFile("script.txt", lines[0] + "\n" + lines[1] + "\r\n" + lines[2] + "\n" + lines[3]);
    EXPECT_TRUE(desk.Line("DdeScript(Shop,Orders,script.txt)"));
    std::string sent;
    for (const std::string& line : lines) {
        sent += "Shop|Orders: " + line + "\n";
    }
    EXPECT_EQ(dde().Transcript(), "initialize\nconnect Shop|Orders\n" + sent + "uninitialize\n");
}

TEST_F(DdeCommands, RefusedLineNeitherStopsTheScriptNorFailsIt) {
    dde().Refuse("[Bad]");
    desk.WriteFile("script.txt", "[Good]\n[Bad]\n[Fine]\n");
    EXPECT_TRUE(desk.Line("DdeScript(Shop,Orders,script.txt)"));
    EXPECT_FALSE(desk.Line("DdeCommand(Shop,Orders,[Bad])"));
    EXPECT_EQ(dde().Transcript(), "initialize\nconnect Shop|Orders\n"
                                  "Shop|Orders: [Good]\nShop|Orders: [Bad] (refused)\nShop|Orders: [Fine]\n"
                                  "uninitialize\n"
                                  "initialize\nconnect Shop|Orders\nShop|Orders: [Bad] (refused)\nuninitialize\n");
}

TEST_F(DdeCommands, ScriptThatCannotBeReadFailsAfterConnecting) {
    desk.WriteFile("empty.txt", "");
    std::filesystem::create_directory(desk.Dir() / "folder");
    ASSERT_EQ(::mkfifo((desk.Dir() / "fifo").c_str(), 0600), 0);
    desk.WriteFile("huge.txt", std::string(DdeConversation::kMaxScriptBytes + 1, 'x'));
    for (const char* script : {"missing.txt", "folder", "fifo", "huge.txt"}) {
        EXPECT_FALSE(desk.Line(std::string("DdeScript(Shop,Orders,") + script + ")")) << script;
    }
    EXPECT_FALSE(desk.Line("DdeScript(Shop,Orders,\"\")"));
    // An empty file is read: nothing to send.
    EXPECT_TRUE(desk.Line("DdeScript(Shop,Orders,empty.txt)"));
    // And no script goes to a topic nobody serves.
    EXPECT_FALSE(desk.Line("DdeScript(Shop,Stock,empty.txt)"));
    std::string expected;
    for (int i = 0; i < 6; ++i) {
        expected += "initialize\nconnect Shop|Orders\nuninitialize\n";
    }
    EXPECT_EQ(dde().Transcript(), expected + "initialize\nconnect Shop|Stock (no server)\nuninitialize\n");
}

TEST_F(DdeCommands, SlowServerIsWaitedForOneSecondAtMost) {
    dde().SetExecuteDelay(2000);
    EXPECT_FALSE(desk.Line("DdeCommand(Shop,Orders,slow)"));
    EXPECT_EQ(Now(), 1000U);

    // Each line of a script gets its second; the script goes on and is read.
    desk.WriteFile("script.txt", "one\ntwo\n");
    EXPECT_TRUE(desk.Line("DdeScript(Shop,Orders,script.txt)"));
    EXPECT_EQ(Now(), 3000U);

    dde().SetExecuteDelay(999);
    EXPECT_TRUE(desk.Line("DdeCommand(Shop,Orders,in time)"));
    EXPECT_EQ(Now(), 3999U);
}

TEST_F(DdeCommands, StopRequestEndsTheWaitAndTheScript) {
    dde().SetExecuteDelay(2000);
    desk.WriteFile("script.txt", "one\ntwo\nthree\n");
    desk.Sim().pump.After(300, [this] { desk.Sim().stop.Raise(); });
    const auto runner = desk.Run({"DdeScript(Shop,Orders,script.txt)", "WriteToFile(after.txt,ran)"});
    EXPECT_EQ(Now(), 300U);
    EXPECT_EQ(dde().Transcript(), "initialize\nconnect Shop|Orders\nShop|Orders: one\nuninitialize\n");
    EXPECT_EQ(desk.ReadFile("after.txt"), "");
}

TEST(DdeConversation, KeepsTheLastErrorOfEachOperation) {
    TestDesktop desk;
    SimulatedDdeClient& dde = desk.Sim().dde;
    dde.Serve("Shop", "Orders");
    dde.Refuse("no");
    DdeInstance instance;
    {
        DdeConversation conversation(instance, desk.GetEngine().GetPlatform(), [] { return false; });
        EXPECT_EQ(conversation.LastError(), DdeError::None);
        EXPECT_FALSE(conversation.SendExecute("early"));
        EXPECT_EQ(conversation.LastError(), DdeError::NoConversation);
        EXPECT_FALSE(conversation.Connect("Shop", "Stock"));
        EXPECT_EQ(conversation.LastError(), DdeError::NoConversation);
        EXPECT_TRUE(conversation.Connect("Shop", "Orders"));
        EXPECT_FALSE(conversation.Connect("Shop", "Orders")); // one conversation at a time
        EXPECT_FALSE(conversation.SendExecute("no"));
        EXPECT_EQ(conversation.LastError(), DdeError::NotProcessed);
        dde.SetExecuteDelay(5000);
        EXPECT_FALSE(conversation.SendExecute("late"));
        EXPECT_EQ(conversation.LastError(), DdeError::ExecuteTimeout);
        EXPECT_TRUE(conversation.Disconnect());
        EXPECT_EQ(conversation.LastError(), DdeError::None);
        EXPECT_FALSE(conversation.Connected());
        EXPECT_EQ(instance.Conversations(), 1);
        EXPECT_TRUE(instance.Initialized());
    }
    EXPECT_EQ(instance.Conversations(), 0);
    EXPECT_FALSE(dde.Initialized());

    dde.SetUnavailable(true);
    DdeConversation conversation(instance, desk.GetEngine().GetPlatform(), [] { return false; });
    EXPECT_EQ(conversation.LastError(), DdeError::SystemError);
    EXPECT_FALSE(conversation.Connect("Shop", "Orders"));
    EXPECT_EQ(conversation.LastError(), DdeError::NotInitialized);
}

} // namespace
} // namespace ordwell::test
