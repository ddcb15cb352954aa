#include <gtest/gtest.h>

#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

class VariableCommands : public testing::Test {
protected:
    TestDesktop desk;
};

TEST_F(VariableCommands, PutVarStoresAsWrittenOrSubstituted) {
    EXPECT_TRUE(desk.Line("PutVar(%a,5)"));
    EXPECT_EQ(desk.Var('A'), "5");
    desk.Line("PutVar(%B,%A)");
    EXPECT_EQ(desk.Var('B'), "5");
    desk.Line("PutVar(%C,\"%B\")");
    EXPECT_EQ(desk.Var('C'), "%B");
    desk.Line("PutVar(%D, 7)");
    EXPECT_EQ(desk.Var('D'), " 7");
    desk.Line("PutVar(%E,\"Hello %B\")");
    EXPECT_EQ(desk.Var('E'), "Hello %B");
    EXPECT_FALSE(desk.Line("PutVar(x,7)"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
}

TEST_F(VariableCommands, OtherLetterCaseWritesThroughTheValue) {
    EXPECT_FALSE(desk.Line("putvar(%F,7)"));
    EXPECT_EQ(desk.Var('F'), "");
    desk.SetVar('F', "%G");
    EXPECT_TRUE(desk.Line("putvar(%F,7)"));
    EXPECT_EQ(desk.Var('G'), "7");
    EXPECT_EQ(desk.Var('F'), "%G");
}

TEST_F(VariableCommands, IncrementAndDecrementCountAsWholeNumbers) {
    desk.Line("Increment(%Z)");
    EXPECT_EQ(desk.Var('Z'), "1");
    desk.SetVar('Y', "abc");
    desk.Line("Decrement(%Y)");
    EXPECT_EQ(desk.Var('Y'), "-1");
    desk.SetVar('X', "  41 apples");
    desk.Line("Increment(%X)");
    EXPECT_EQ(desk.Var('X'), "42");
    EXPECT_FALSE(desk.Line("Increment(7)"));
}

TEST_F(VariableCommands, CountingWrapsAtTheThirtyTwoBitLimits) {
    desk.SetVar('A', "2147483647");
    desk.Line("Increment(%A)");
    EXPECT_EQ(desk.Var('A'), "-2147483648");
    desk.Line("Decrement(%A)");
    EXPECT_EQ(desk.Var('A'), "2147483647");
    desk.SetVar('B', "99999999999");
    desk.Line("Increment(%B)");
    EXPECT_EQ(desk.Var('B'), "-2147483648");
}

TEST_F(VariableCommands, CountingAndOtherWritesSeeEachOther) {
    // Counting across a change in the number of digits and through zero.
    desk.SetVar('A', "99");
    desk.Line("Increment(%A)");
    EXPECT_EQ(desk.Var('A'), "100");
    desk.Line("Decrement(%A)");
    EXPECT_EQ(desk.Var('A'), "99");
    desk.SetVar('A', "10");
    desk.Line("Decrement(%A)");
    EXPECT_EQ(desk.Var('A'), "9");
    desk.SetVar('A', "1099");
    desk.Line("Increment(%A)");
    EXPECT_EQ(desk.Var('A'), "1100");
    desk.Line("Decrement(%A)");
    desk.Line("Decrement(%A)");
    EXPECT_EQ(desk.Var('A'), "1098");
    desk.SetVar('B', "1");
    desk.Line("Decrement(%B)");
    desk.Line("Decrement(%B)");
    EXPECT_EQ(desk.Var('B'), "-1");
    desk.Line("Increment(%B)");
    EXPECT_EQ(desk.Var('B'), "0");
    desk.SetVar('B', "-10");
    desk.Line("Increment(%B)");
    EXPECT_EQ(desk.Var('B'), "-9");
    // A text written after counting is what the next count reads.
    desk.Line("PutVar(%A,7 days)");
    desk.Line("Increment(%A)");
    EXPECT_EQ(desk.Var('A'), "8");
    desk.Line("PutVar(%A,-007)");
    desk.Line("Increment(%A)");
    EXPECT_EQ(desk.Var('A'), "-6");
    desk.Line("PutVar(%A,\" 41\")");
    desk.Line("Increment(%A)");
    EXPECT_EQ(desk.Var('A'), "42");
    desk.SetVar('A', "");
    desk.Line("Decrement(%A)");
    EXPECT_EQ(desk.Var('A'), "-1");
    // A count inside the line that reads the variable.
    desk.SetVar('C', "5");
    desk.Line("IfEquals(%C,5,Increment(%C))");
    desk.Line("IfEquals(%C,6,Increment(%C))");
    EXPECT_EQ(desk.Var('C'), "7");
}

TEST_F(VariableCommands, DumpShowsAllVariables) {
    desk.Line("PutVar(%A,5)");
    EXPECT_TRUE(desk.Line("Dump(whatever)"));
    std::string expected = "message [Contents of Variables] %A = 5\n";
    for (char c = 'B'; c <= 'Z'; ++c) {
        expected += std::string("%") + c + " = \n";
    }
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), expected + "\n");
}

TEST_F(VariableCommands, GetClipBoardKeepsTheWholeText) {
    const std::string text(300, 'c');
    desk.Sim().clipboard.Set(text);
    EXPECT_TRUE(desk.Line("GetClipBoard(%C)"));
    EXPECT_EQ(desk.Var('C'), text);
    desk.Sim().clipboard.Set(std::string());
    EXPECT_TRUE(desk.Line("GetClipBoard(%C)"));
    EXPECT_EQ(desk.Var('C'), "");
    desk.SetVar('C', "kept");
    desk.Sim().clipboard.Set(std::nullopt);
    EXPECT_FALSE(desk.Line("GetClipBoard(%C)"));
    EXPECT_EQ(desk.Var('C'), "kept");
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
}

TEST_F(VariableCommands, BoxesUseTheCaptionAndRecordTheAnswer) {
    desk.Sim().dialogs.ScriptAnswer(kAnswerOk);
    desk.Sim().dialogs.ScriptAnswer(kAnswerOk, "Ann");
    desk.Sim().dialogs.ScriptAnswer(kAnswerCancel, "ignored");
    auto runner = desk.Run({"SetCaption(Backup)", "MessageBox(Done)", "InputBox(\"Name?\",%N)", "InputBox(Again?,%N)",
                            "PutVar(%O,%N)", "SetCaption(\"\")", "MessageBox(x)"});
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "information [Backup] Done\n"
                                               "input [Backup] Name?\n"
                                               "input [Backup] Again?\n"
                                               "information [Ordwell] x\n");
    EXPECT_EQ(desk.Var('N'), "Ann");
    EXPECT_EQ(runner->LastInputText(), "Ann");
    EXPECT_EQ(runner->LastResponse(), kAnswerOk);
}

} // namespace
} // namespace ordwell
