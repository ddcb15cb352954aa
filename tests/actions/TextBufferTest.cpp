#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/MacroRunner.h"
#include "support/TestDesktop.h"

namespace ordwell::test {
namespace {

struct LineEndCase {
    const char* name;
    std::string content;
    std::vector<std::string> lines;
};

void PrintTo(const LineEndCase& c, std::ostream* os) {
    *os << c.name;
}

class TextBufferLines : public testing::TestWithParam<LineEndCase> {};

// Reads every line through buffer 1; after the last one ReadLine is FALSE
// and the variable keeps the last line read.
TEST_P(TextBufferLines, ReadsEachLineOnceWhateverItsEnd) {
    const LineEndCase& c = GetParam();
    TestDesktop desk;
    desk.WriteFile("in.txt", c.content);
    ASSERT_TRUE(desk.Line("OpenFile(1,in.txt)"));
    std::vector<std::string> read;
    for (size_t i = 0; i < c.lines.size() + 2 && desk.Line("ReadLine(1,%A)"); ++i) {
        read.push_back(desk.Var('A'));
    }
    EXPECT_EQ(read, c.lines);
    desk.SetVar('A', "kept");
    EXPECT_FALSE(desk.Line("ReadLine(1,%A)"));
    EXPECT_EQ(desk.Var('A'), "kept");
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
}

const std::string kLong(5000, 'L');
const std::string kAtChunkEnd(4095, 'c'); // its line end straddles the first 4096-byte read

INSTANTIATE_TEST_SUITE_P(
    Files, TextBufferLines,
    testing::Values(LineEndCase{"CrLf", "one\r\ntwo\r\n\r\nfour\r\n", {"one", "two", "", "four"}},
                    LineEndCase{"Lf", "one\ntwo\nthree\n", {"one", "two", "three"}},
                    LineEndCase{"Cr", "one\rtwo\r", {"one", "two"}},
                    LineEndCase{"Mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                    LineEndCase{"LastLineWithoutEnd", "first\r\nlast", {"first", "last"}},
                    LineEndCase{"CrAtEndOfFile", "x\r", {"x"}}, LineEndCase{"EmptyFile", "", {}},
                    LineEndCase{"OnlyLineEnds", "\n\r\n\r", {"", "", ""}},
                    LineEndCase{"Nul", std::string("ab\0cd\n", 6), {"ab", "cd"}},
                    LineEndCase{"LongLine", kLong + "\nnext", {kLong, "next"}},
                    LineEndCase{"CrLfAcrossReads", kAtChunkEnd + "\r\nafter", {kAtChunkEnd, "after"}},
                    LineEndCase{"CrAcrossReads", kAtChunkEnd + "\rafter\n", {kAtChunkEnd, "after"}}),
    [](const testing::TestParamInfo<LineEndCase>& row) { return row.param.name; });

TEST(TextBuffers, IdentifiersAndSlots) {
    TestDesktop desk;
    desk.WriteFile("a.txt", "a1\r\na2\r\na3\r\n");
    desk.WriteFile("b.txt", "b1\r\n");
    std::filesystem::create_directory(desk.Dir() / "dir");

    EXPECT_FALSE(desk.Line("OpenFile(3,a.txt)"));
    EXPECT_FALSE(desk.Line("OpenFile(-1,a.txt)"));
    EXPECT_FALSE(desk.Line("OpenFile(1,missing.txt)"));
    EXPECT_FALSE(desk.Line("OpenFile(1,dir)"));
    EXPECT_FALSE(desk.Line("ReadLine(1,%A)")); // the failed opens left the slot free
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());

    // Text that is no number names buffer 0.
    EXPECT_TRUE(desk.Line("OpenFile(first,a.txt)"));
    EXPECT_FALSE(desk.Line("OpenFile(0,b.txt)")); // busy: the first file stays bound
    EXPECT_TRUE(desk.Line("ReadLine( 0,%A)"));
    EXPECT_EQ(desk.Var('A'), "a1");

    EXPECT_TRUE(desk.Line("OpenFile(2,b.txt)"));
    EXPECT_TRUE(desk.Line("ReadLine(2,%B)"));
    EXPECT_EQ(desk.Var('B'), "b1");
    EXPECT_TRUE(desk.Line("ReadLine(0,%A)"));
    EXPECT_EQ(desk.Var('A'), "a2");

    desk.SetVar('C', "untouched");
    EXPECT_FALSE(desk.Line("ReadLine(1,%C)"));
    EXPECT_FALSE(desk.Line("ReadLine(7,%C)"));
    EXPECT_EQ(desk.Var('C'), "untouched");
    // A line read into no variable is consumed all the same.
    EXPECT_TRUE(desk.Line("ReadLine(0,notavariable)"));
    EXPECT_FALSE(desk.Line("ReadLine(0,%A)"));
    EXPECT_EQ(desk.Var('A'), "a2");
}

TEST(TextBuffers, CloseFreesTheSlotForANewFile) {
    TestDesktop desk;
    desk.WriteFile("a.txt", "a1\r\na2\r\n");
    desk.WriteFile("b.txt", "b1\r\n");
    EXPECT_FALSE(desk.Line("CloseFile(1)"));
    EXPECT_FALSE(desk.Line("CloseFile(3)"));
    ASSERT_TRUE(desk.Line("OpenFile(1,a.txt)"));
    ASSERT_TRUE(desk.Line("ReadLine(1,%A)"));
    EXPECT_TRUE(desk.Line("CloseFile(1)"));
    EXPECT_FALSE(desk.Line("ReadLine(1,%A)"));
    EXPECT_FALSE(desk.Line("CloseFile(1)"));
    EXPECT_TRUE(desk.Line("OpenFile(1,b.txt)"));
    EXPECT_TRUE(desk.Line("ReadLine(1,%A)"));
    EXPECT_EQ(desk.Var('A'), "b1");
    // Reopening the first file starts again at its beginning.
    EXPECT_TRUE(desk.Line("CloseFile(1)"));
    EXPECT_TRUE(desk.Line("OpenFile(1,a.txt)"));
    EXPECT_TRUE(desk.Line("ReadLine(1,%A)"));
    EXPECT_EQ(desk.Var('A'), "a1");
}

TEST(TextBuffers, BuffersOutliveTheMacroAndFeedAWhileLoop) {
    TestDesktop desk;
    desk.WriteFile("list.txt", "alpha\nbeta\ngamma\n");
    desk.GetEngine().GetSettings().WriteString("Drives", "T", desk.Dir().string());
    desk.Run({"OpenFile(2,t:\\list.txt)", "ReadLine(2,%A)"});
    EXPECT_EQ(desk.Var('A'), "alpha");
    const auto runner = desk.Run({"While(ReadLine(2,%B),WriteLineToFile(out.txt,%B))"});
    EXPECT_EQ(desk.ReadFile("out.txt"), "beta\r\ngamma\r\n");
    EXPECT_TRUE(desk.Line("CloseFile(2)"));
}

} // namespace
} // namespace ordwell::test
