#include <gtest/gtest.h>

#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

TEST(DialogCommands, BoxesGiveTheActiveWindowBackOnceAnswered) {
    TestDesktop desk;
    SimulatedDesktop& sim = desk.Sim();
    // No active window: nothing to give back.
    EXPECT_TRUE(desk.Line(R"(MessageBox("first"))"));
    EXPECT_EQ(sim.windows.Transcript(), "");

    sim.windows.Open({.title = "Editor"});
    sim.dialogs.ScriptAnswer(kAnswerOk);
    sim.dialogs.ScriptAnswer(kAnswerCancel);
    sim.dialogs.ScriptAnswer(kAnswerOk, "typed");
    const auto runner = desk.Run({R"(MessageBox("Done"))", R"(MessageBoxOkCancel("Go on?"))", "InputBox(Name?,%N)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('N'), "typed");
    EXPECT_EQ(sim.windows.Transcript(), "activate Editor\nactivate Editor\nactivate Editor\n");
}

TEST(DialogCommands, PlaySoundPlaysToTheEndOrAnswersFalse) {
    TestDesktop desk;
    SimulatedSound& sound = desk.Sim().sound;
    sound.AddPlayable("/media/ding.wav");
    EXPECT_TRUE(desk.Line(R"(PlaySound("c:\media\ding.wav"))"));
    EXPECT_FALSE(desk.Line(R"(PlaySound("c:\media\missing.wav"))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    desk.Line("PlaySound()");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(sound.Transcript(), "played /media/ding.wav\ncannot play /media/missing.wav\n");
}

} // namespace
} // namespace ordwell
