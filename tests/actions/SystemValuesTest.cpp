#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "actions/DecimalNumber.h"
#include "platform/FileSystem.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

struct ValueCase {
    const char* name;
    const char* text; // what GetSystem stores
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class SystemValueText : public testing::TestWithParam<ValueCase> {};

// The simulated machine: 8 GiB of RAM at 45 percent, drive C ("/") with
// 10 GiB free of 50 GiB, host simhost, user simuser.
TEST_P(SystemValueText, IsStoredByGetSystem) {
    TestDesktop desktop;
    const ValueCase& c = GetParam();
    ASSERT_TRUE(desktop.Line(std::string("GetSystem(%A,") + c.name + ")"));
    EXPECT_EQ(desktop.Var('A'), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Resources, SystemValueText,
    testing::Values(
        ValueCase{"MEMORY_PERCENTUSED", "45.00"},
        // Figures beyond 32 bits are read whole.
        ValueCase{"MEMORY_TOTALPHYSICAL", "8589934592.00"}, ValueCase{"MEMORY_AVAILPAGEFILE", "1073741824.00"},
        ValueCase{"MEMORY_TOTALVIRTUAL", "140737488355328.00"}, ValueCase{"DISK_C_FREE", "10737418240.00"},
        ValueCase{"DISK_c_SIZE", "53687091200.00"}, ValueCase{"DISK_C-SIZE", "53687091200.00"},
        // Names that are no figures read as the number in their text.
        ValueCase{"memory_totalphysical", " 0.00"}, ValueCase{"MEMORY_BOGUS", " 0.00"},
        ValueCase{"DISK_CC_FREE", " 0.00"}, ValueCase{"DISK_C_FRE", " 0.00"}, ValueCase{"DISK_C_USED", " 0.00"},
        ValueCase{"DISK_1_FREE", " 0.00"}, ValueCase{"DISK_X_FREE", " 0.00"}, ValueCase{"1024", "1024.00"},
        ValueCase{"  -2.5kg", "-2.50"}, ValueCase{"7", " 7.00"}, ValueCase{".5", " 0.50"}, ValueCase{"1e3", "1000.00"},
        ValueCase{"nancy", " 0.00"}, ValueCase{"inf", " 0.00"}, ValueCase{"0x10", " 0.00"}, ValueCase{"+3", " 3.00"},
        ValueCase{"--3", " 0.00"}, ValueCase{"COMPUTER_NAME", "simhost"}, ValueCase{"USER_NAME", "simuser"},
        ValueCase{"SYSTEM_DIR", "/usr/bin"}, ValueCase{"WINDOWS_DIR", "/etc"}, ValueCase{"computer_name", " 0.00"}));

TEST(SystemValues, SmallLoadIsPaddedToFiveCharacters) {
    TestDesktop desktop;
    MemoryStatus memory = *desktop.Sim().system.Memory();
    memory.loadPercent = 5;
    desktop.Sim().system.SetMemory(memory);
    desktop.Line("GetSystem(%A,MEMORY_PERCENTUSED)");
    EXPECT_EQ(desktop.Var('A'), " 5.00");
}

TEST(SystemValues, UnreadableFiguresAreZero) {
    TestDesktop desktop;
    desktop.Sim().system.SetMemory(std::nullopt);
    desktop.Sim().system.SetDisk("/", std::nullopt);
    desktop.Line("GetSystem(%A,MEMORY_TOTALPHYSICAL)");
    desktop.Line("GetSystem(%B,DISK_C_FREE)");
    EXPECT_EQ(desktop.Var('A'), " 0.00");
    EXPECT_EQ(desktop.Var('B'), " 0.00");
}

TEST(SystemValues, DrivesMapThroughTheDrivesSettings) {
    TestDesktop desktop;
    desktop.GetEngine().GetSettings().WriteString("Drives", "D", "/mnt/data/");
    desktop.GetEngine().GetSettings().WriteString("Drives", "C", "/home");
    desktop.Sim().system.SetDisk("/mnt/data", DiskSpace{3 * kGiB, 4 * kGiB});
    desktop.Sim().system.SetDisk("/home", DiskSpace{kGiB, 2 * kGiB});
    desktop.Line("GetSystem(%A,DISK_d_FREE)");
    desktop.Line("GetSystem(%B,DISK_C_SIZE)");
    EXPECT_EQ(desktop.Var('A'), "3221225472.00");
    EXPECT_EQ(desktop.Var('B'), "2147483648.00");
}

TEST(SystemValues, GetSystemNeedsAVariable) {
    TestDesktop desktop;
    EXPECT_FALSE(desktop.Line("GetSystem(A,COMPUTER_NAME)"));
    EXPECT_TRUE(desktop.LastRunner().SyntaxFlag());
    // A command name in another letter case substitutes its output argument.
    desktop.SetVar('B', "%C");
    EXPECT_TRUE(desktop.Line("getsystem(%B,USER_NAME)"));
    EXPECT_EQ(desktop.Var('C'), "simuser");
}

TEST(SystemValues, LogSystemWritesLabelledLines) {
    TestDesktop desktop;
    EXPECT_TRUE(desktop.Line("LogSystem(sys.log,COMPUTER_NAME)"));
    EXPECT_TRUE(desktop.Line("LogSystem(sys.log,MEMORY_TOTALPHYSICAL)"));
    EXPECT_TRUE(desktop.Line("LogSystem(sys.log,USER_NAME)"));
    EXPECT_TRUE(desktop.Line("LogSystem(sys.log,WINDOWS_DIR)"));
    EXPECT_TRUE(desktop.Line("LogSystem(sys.log,SYSTEM_DIR)"));
    EXPECT_TRUE(desktop.Line("LogSystem(sys.log,whatever)"));
    EXPECT_EQ(desktop.ReadFile("sys.log"), "01/22/98 13:05:00 Computer Name: simhost\r\n"
                                           "01/22/98 13:05:00 MEMORY_TOTALPHYSICAL: 8589934592.00\r\n"
                                           "01/22/98 13:05:00 User Name: simuser\r\n"
                                           "01/22/98 13:05:00 Windows Dir: /etc\r\n"
                                           "01/22/98 13:05:00 System Dir: /usr/bin\r\n"
                                           "01/22/98 13:05:00 whatever:  0.00\r\n");
    EXPECT_FALSE(desktop.Line("LogSystem(no/such/dir/sys.log,USER_NAME)"));
}

struct CompareCase {
    const char* line;
    bool ran;
};

void PrintTo(const CompareCase& c, std::ostream* os) {
    *os << c.line;
}

class Comparison : public testing::TestWithParam<CompareCase> {};

// %A holds "yes"; the nested command marks %Z when it runs.
TEST_P(Comparison, RunsTheCommandWhenItHolds) {
    TestDesktop desktop;
    desktop.SetVar('A', "yes");
    const CompareCase& c = GetParam();
    EXPECT_TRUE(desktop.Line(c.line));
    EXPECT_TRUE(desktop.LastRunner().SyntaxFlag());
    EXPECT_EQ(desktop.Var('Z'), c.ran ? "ran" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Operands, Comparison,
    testing::Values(
        // Numbers as text compare as numbers, not letter by letter.
        CompareCase{"IfLessThan(9,10,PutVar(%Z,ran))", true}, CompareCase{"IfLessThan(10,9,PutVar(%Z,ran))", false},
        CompareCase{"IfMoreThan(10,9,PutVar(%Z,ran))", true}, CompareCase{"IfMoreThan(9,9,PutVar(%Z,ran))", false},
        CompareCase{"IfLessThan(abc,1,PutVar(%Z,ran))", true},
        CompareCase{"IfMoreThan(DISK_C_FREE,1000000,PutVar(%Z,ran))", true},
        CompareCase{"IfLessThan(DISK_C_FREE,1000000,PutVar(%Z,ran))", false},
        CompareCase{"IfLessThan(MEMORY_PERCENTUSED,45.5,PutVar(%Z,ran))", true},
        CompareCase{"IfEquals(MEMORY_PERCENTUSED,45,PutVar(%Z,ran))", true},
        CompareCase{"IfEquals(45,MEMORY_PERCENTUSED,PutVar(%Z,ran))", true},
        // Texts compare exactly, letter case included.
        CompareCase{"IfEquals(%A,\"yes\",PutVar(%Z,ran))", true},
        CompareCase{"IfEquals(%A,\"Yes\",PutVar(%Z,ran))", false},
        CompareCase{"IfEquals(10,10.0,PutVar(%Z,ran))", false},
        CompareCase{"IfEquals(USER_NAME,simuser,PutVar(%Z,ran))", true},
        CompareCase{"IfEquals(USER_NAME,SimUser,PutVar(%Z,ran))", false},
        CompareCase{"IfEquals(COMPUTER_NAME,USER_NAME,PutVar(%Z,ran))", false},
        // Whole numbers of every form, counters included, by their values;
        // equal only when written alike.
        CompareCase{"IfLessThan(-2147483648,2147483647,PutVar(%Z,ran))", true},
        CompareCase{"IfMoreThan(-1,-2,PutVar(%Z,ran))", true}, CompareCase{"IfLessThan(007,8,PutVar(%Z,ran))", true},
        CompareCase{"IfMoreThan(9,\" 10\",PutVar(%Z,ran))", false},
        CompareCase{"IfLessThan(2147483647,2147483648,PutVar(%Z,ran))", true},
        CompareCase{"IfLessThan(-0,0,PutVar(%Z,ran))", false}, CompareCase{"IfEquals(-0,0,PutVar(%Z,ran))", false},
        CompareCase{"IfEquals(7,07,PutVar(%Z,ran))", false}, CompareCase{"IfEquals(+7,7,PutVar(%Z,ran))", false},
        CompareCase{"IfEquals(7,7,PutVar(%Z,ran))", true}, CompareCase{"IfMoreThan(10,9x,PutVar(%Z,ran))", true},
        // Text resources read as numbers give their leading number: none.
        CompareCase{"IfMoreThan(COMPUTER_NAME,-1,PutVar(%Z,ran))", true},
        CompareCase{"IfMoreThan(COMPUTER_NAME,0,PutVar(%Z,ran))", false}));

TEST(Comparisons, ReadCountersAsTheyAreWhenTheLineStarts) {
    TestDesktop desktop;
    // A counter written by Increment, then by other commands.
    desktop.SetVar('C', "9");
    desktop.Line("Increment(%C)");
    EXPECT_TRUE(desktop.Line("IfMoreThan(%C,9,PutVar(%Z,ran))"));
    EXPECT_EQ(desktop.Var('Z'), "ran");
    desktop.Line("PutVar(%C,010)");
    EXPECT_TRUE(desktop.Line("IfEquals(%C,10,PutVar(%Z,equal))"));
    EXPECT_EQ(desktop.Var('Z'), "ran");
    desktop.Line("PutVar(%C,USER_NAME)");
    EXPECT_TRUE(desktop.Line("IfEquals(%C,simuser,PutVar(%Z,user))"));
    EXPECT_EQ(desktop.Var('Z'), "user");
    // The nested command changes the counter; the line keeps what it read.
    desktop.SetVar('C', "1");
    EXPECT_TRUE(desktop.Line("IfLessThan(%C,2,IfLessThan(%C,2,Increment(%C)))"));
    EXPECT_EQ(desktop.Var('C'), "2");
    desktop.SetVar('D', "5");
    EXPECT_TRUE(desktop.Line("IfEquals(%D,5,PutVar(%D,6))"));
    EXPECT_TRUE(desktop.Line("IfEquals(%D,5,PutVar(%Z,stale))"));
    EXPECT_EQ(desktop.Var('Z'), "user");
}

TEST(Comparisons, TheNestedCommandGivesTheResult) {
    TestDesktop desktop;
    EXPECT_FALSE(desktop.Line("IfEquals(a,a,!DoNothing())"));
    EXPECT_TRUE(desktop.LastRunner().SyntaxFlag());

    // A failing nested command fails the line; one that does not run cannot.
    EXPECT_FALSE(desktop.Line("IfLessThan(1,2,NoSuchCommand())"));
    EXPECT_FALSE(desktop.LastRunner().SyntaxFlag());
    EXPECT_TRUE(desktop.Line("IfLessThan(2,1,NoSuchCommand())"));
    EXPECT_TRUE(desktop.LastRunner().SyntaxFlag());

    const auto runner = desktop.Run({"IfMoreThan(5,4,NoSuchCommand())", "PutVar(%Z,after)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Failed);
    EXPECT_EQ(runner->FailedLine(), 1);
    EXPECT_EQ(desktop.Var('Z'), "");
}

TEST(DecimalNumbers, IgnoreTheUsersLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    const double value = ReadDecimalNumber("2.5");
    const std::string text = FormatTwoDecimals(1234.5);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(value, 2.5);
    EXPECT_EQ(text, "1234.50");
}

TEST(DecimalNumbers, WholeNumbersReadAlikeWhereverTheirDigitsEnd) {
    EXPECT_EQ(ReadDecimalNumber(" -42abc"), -42.0);
    EXPECT_EQ(ReadDecimalNumber("+007"), 7.0);
    EXPECT_EQ(ReadDecimalNumber("12.75"), 12.75);
    EXPECT_EQ(ReadDecimalNumber("12e2"), 1200.0);
    EXPECT_EQ(ReadDecimalNumber("12e"), 12.0);
    EXPECT_EQ(ReadDecimalNumber("0x10"), 0.0);
    EXPECT_TRUE(std::signbit(ReadDecimalNumber("-0")));
    // Around the digits a double holds exactly.
    EXPECT_EQ(ReadDecimalNumber("999999999999999"), 999999999999999.0);
    EXPECT_EQ(ReadDecimalNumber("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(ReadDecimalNumber("123456789012345678901234567890"), 1.2345678901234568e29);
}

TEST(DecimalNumbers, OutOfRangeReadsAsInfinityOrZero) {
    EXPECT_EQ(ReadDecimalNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadDecimalNumber("-1e999x"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadDecimalNumber("1e-999"), 0.0);
    EXPECT_EQ(FormatTwoDecimals(1e300).size(), 304U);
}

} // namespace
} // namespace ordwell
