#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MacroLine.h"
#include "engine/VariableStore.h"

namespace ordwell {
namespace {

struct SplitCase {
    const char* line;
    const char* name;
    std::vector<std::string> args;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.line;
}

class LineSplitting : public testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitting, GivesNameAndArguments) {
    const SplitCase& c = GetParam();
    const CMacroLine line(c.line, false);
    EXPECT_EQ(line.CommandName(), c.name);
    ASSERT_EQ(line.ArgumentCount(), static_cast<int>(c.args.size()));
    for (size_t i = 0; i < c.args.size(); ++i) {
        EXPECT_EQ(line.Argument(static_cast<int>(i) + 1), c.args[i]) << "argument " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineSplitting,
    testing::Values(SplitCase{"Beep", "Beep", {}}, SplitCase{"  beep()  ", "beep", {}},
                    SplitCase{"Beep ()", "Beep ", {}}, SplitCase{"Beep  ", "Beep  ", {}},
                    SplitCase{"Beep()xyz", "Beep", {}}, SplitCase{"PutVar(%A,\"x,y\")", "PutVar", {"%A", "x,y"}},
                    SplitCase{"MessageBox(\"He said \"hi\" today\")", "MessageBox", {"He said \"hi\" today"}},
                    SplitCase{"OpenFile( 1, \"C:\\textdata.txt\")", "OpenFile", {"1", " \"C:\\textdata.txt\""}},
                    SplitCase{"CopyFile(\"a\" , \"b\")", "CopyFile", {"a\" , \"b"}},
                    SplitCase{"Foo(,a)", "Foo", {"", "a"}}, SplitCase{"Foo(a,)", "Foo", {"a,"}},
                    SplitCase{"Foo(a),b)", "Foo", {"a),b"}}, SplitCase{"Foo(,)", "Foo", {","}},
                    SplitCase{"If(FileExist(\"c:\\test.log\"),Beep(),DoNothing())",
                              "If",
                              {"FileExist(\"c:\\test.log\")", "Beep()", "DoNothing()"}},
                    SplitCase{
                        "Repeat(SendKeys(\"This is a test~\"),10)", "Repeat", {"SendKeys(\"This is a test~\")", "10"}},
                    SplitCase{"PutVar(%A, 7)", "PutVar", {"%A", " 7"}}, SplitCase{"X(\"a\",\"b\")", "X", {"a", "b"}},
                    SplitCase{"X(\"unclosed)", "X", {"unclosed"}}, SplitCase{"X(a\"b,c)", "X", {"a\"b", "c"}},
                    SplitCase{"X(\"\")", "X", {""}}, SplitCase{"X(  )", "X", {}},
                    SplitCase{"X(f(a,b),\"q\")", "X", {"f(a,b)", "q"}}));

TEST(MacroLine, LinesNestedThousandsDeepSplitAlikeAtEveryLevel) {
    // Every level has commas within parentheses and a quoted argument ahead
    // of the nested line.
    constexpr int kDepth = 5000;
    std::string text = "WriteToFile(deep.txt,reached)";
    for (int i = 0; i < kDepth; ++i) {
        text = "If(f(a,b),\"q,\"," + text + ")";
    }
    const LineSyntax top = ParseLine(text);
    const LineSyntax* level = &top;
    for (int i = 0; i < kDepth; ++i) {
        ASSERT_EQ(level->name, "If") << i;
        ASSERT_EQ(level->Count(), 3) << i;
        ASSERT_EQ(level->args[0].text, "f(a,b)") << i;
        ASSERT_EQ(level->args[1].text, "q,") << i;
        level = &level->Nested(3);
    }
    EXPECT_EQ(level->name, "WriteToFile");
    ASSERT_EQ(level->Count(), 2);
    EXPECT_EQ(level->args[1].text, "reached");
}

TEST(MacroLine, ClassifiesLineKinds) {
    EXPECT_TRUE(IsBlankLine(""));
    EXPECT_FALSE(IsBlankLine("  "));
    EXPECT_TRUE(IsLabelLine(":Start"));
    EXPECT_FALSE(IsLabelLine(" :Start"));
    EXPECT_TRUE(IsCommentLine("*x"));
    EXPECT_TRUE(IsCommentLine("//x"));
    EXPECT_TRUE(IsCommentLine("   // x"));
    EXPECT_TRUE(IsCommentLine("\t*comment"));
    EXPECT_FALSE(IsCommentLine("*"));
    EXPECT_FALSE(IsCommentLine("//"));
    EXPECT_FALSE(IsCommentLine("/x"));
    EXPECT_EQ(ClassifyLine("   "), LineKind::Command);
}

TEST(MacroLine, NegationAndUnknownNames) {
    const CMacroLine negated("!FileExist(x)", false);
    EXPECT_TRUE(negated.Negate());
    EXPECT_EQ(negated.CommandName(), "FileExist");
    EXPECT_NE(negated.Syntax().command, nullptr);
    const CMacroLine spaced("! FileExist(x)", false);
    EXPECT_EQ(spaced.Syntax().command, nullptr);
    EXPECT_EQ(CMacroLine("   ", false).CommandName(), "");
}

TEST(MacroLine, SubstitutesWholeUnquotedReferencesOutsideOutputPositions) {
    VariableStore vars;
    vars.SetVar("%A", "alpha");
    vars.SetVar("%B", "beta");
    vars.SetVar("%C", "%D");

    const CMacroLine put("PutVar(%A,%b)", true, &vars);
    EXPECT_EQ(put.Argument(1), "%A"); // output position
    EXPECT_EQ(put.Argument(2), "beta");

    const CMacroLine quoted("PutVar(%A,\"%B\")", true, &vars);
    EXPECT_EQ(quoted.Argument(2), "%B");
    const CMacroLine inside("PutVar(%A,Hello %B)", true, &vars);
    EXPECT_EQ(inside.Argument(2), "Hello %B");
    const CMacroLine spaced("PutVar(%A, %B)", true, &vars);
    EXPECT_EQ(spaced.Argument(2), " %B");

    // Another letter case: the output position is substituted too.
    const CMacroLine lower("putvar(%C,7)", true, &vars);
    EXPECT_EQ(lower.Argument(1), "%D");

    // Every position of Increment is an output.
    EXPECT_EQ(CMacroLine("Increment(%A)", true, &vars).Argument(1), "%A");
    // Without the substitute flag nothing changes.
    EXPECT_EQ(CMacroLine("MessageBox(%A)", false, &vars).Argument(1), "%A");
    EXPECT_EQ(CMacroLine("MessageBox(%A)", true, &vars).Argument(1), "alpha");
    EXPECT_EQ(CMacroLine("MessageBox(%1)", true, &vars).Argument(1), "%1");
}

TEST(MacroLine, SubstitutesManyAndLongValuesWithTheirNumbers) {
    VariableStore vars;
    const std::string longText(100, 'x');
    vars.SetVar("%A", longText);
    vars.SetVar("%B", "12");
    ArgumentValues values;
    const LineSyntax many = ParseLine("X(%A,%B,3,%A,\"%B\",%B,-0,%A)");
    values.Substitute(many, vars);
    const std::vector<std::string_view> expected = {longText, "12", "3", longText, "%B", "12", "-0", longText};
    EXPECT_EQ(std::vector<std::string_view>(values.Values().begin(), values.Values().end()), expected);
    const std::vector<std::optional<std::int32_t>> numbers = {
        std::nullopt, 12, 3, std::nullopt, std::nullopt, 12, std::nullopt, std::nullopt};
    EXPECT_EQ(std::vector<std::optional<std::int32_t>>(values.Numbers().begin(), values.Numbers().end()), numbers);
    // A short line after a long one in the same room.
    const LineSyntax few = ParseLine("X(%B,%B)");
    values.Substitute(few, vars);
    EXPECT_EQ(values.Values()[1], "12");
    EXPECT_EQ(values.Numbers()[0], 12);
}

TEST(MacroLine, ReadsWholeNumbersAsTheLanguageDoes) {
    const CMacroLine line("X(  42abc,,-7,abc,+3,99999999999)", false);
    EXPECT_EQ(line.ArgumentAsInteger(1), 42);
    EXPECT_EQ(line.ArgumentAsInteger(2), -1);
    EXPECT_EQ(line.ArgumentAsInteger(3), -7);
    EXPECT_EQ(line.ArgumentAsInteger(4), 0);
    EXPECT_EQ(line.ArgumentAsInteger(5), 3);
    EXPECT_EQ(line.ArgumentAsInteger(6), 2147483647);
    EXPECT_EQ(line.ArgumentAsInteger(9), -1);
    EXPECT_EQ(line.Argument(0), "");
    EXPECT_EQ(ReadWholeNumber("-99999999999"), -2147483647 - 1);
}

TEST(MacroLine, KnowsPlainWholeNumbers) {
    EXPECT_EQ(PlainWholeNumber("0"), 0);
    EXPECT_EQ(PlainWholeNumber("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(PlainWholeNumber("2147483647"), 2147483647);
    for (const char* text :
         {"", "-", "-0", "+1", " 1", "1 ", "01", "2147483648", "-2147483649", "99999999999", "1.0", "1e3", "12a"}) {
        EXPECT_EQ(PlainWholeNumber(text), std::nullopt) << text;
    }
}

TEST(MacroLine, AppendsParenthesesToLineText) {
    EXPECT_EQ(CMacroLine("Beep", false).LineText(), "Beep()");
    EXPECT_EQ(CMacroLine("Beep(1)", false).LineText(), "Beep(1)");
}

} // namespace
} // namespace ordwell
