#include <gtest/gtest.h>

#include <string>

#include "actions/DateTime.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

TEST(DateTimeFetch, StoresTheCurrentDateAndTime) {
    TestDesktop desktop;
    EXPECT_TRUE(desktop.Line("GetDate(%A)"));
    EXPECT_TRUE(desktop.Line("GetTime(%B)"));
    EXPECT_TRUE(desktop.Line("GetDateTime(%C,\"%Y-%m-%d %H.%M %%\")"));
    EXPECT_EQ(desktop.Var('A'), "01/22/98");
    EXPECT_EQ(desktop.Var('B'), "13:05:00");
    EXPECT_EQ(desktop.Var('C'), "1998-01-22 13.05 %");

    // Not a variable: nothing stored, still TRUE.
    EXPECT_TRUE(desktop.Line("GetDate(A)"));
}

TEST(DateTimeFetch, EmptyAndLongFormatsAreDeliveredWhole) {
    TestDesktop desktop;
    desktop.SetVar('A', "old");
    EXPECT_TRUE(desktop.Line("GetDateTime(%A,\"\")"));
    EXPECT_EQ(desktop.Var('A'), "");

    std::string format;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        format += "%Y";
        expected += "1998";
    }
    EXPECT_TRUE(desktop.Line("GetDateTime(%B," + format + ")"));
    EXPECT_EQ(desktop.Var('B'), expected);

    // Field widths are bounded, so a short format cannot ask for gigabytes.
    EXPECT_TRUE(desktop.Line("GetDateTime(%C,%9999999Y|%_9999999d|%%99999999Y)"));
    EXPECT_EQ(desktop.Var('C'), std::string(60, '0') + "1998|" + std::string(62, ' ') + "22|%99999999Y");
    // Also behind what the C library prints as it stands: "%+" (no flag to
    // it) and "%" under a modifier.
    EXPECT_TRUE(desktop.Line("GetDateTime(%D,%+%9999999Y|%E%%9999999Y)"));
    EXPECT_EQ(desktop.Var('D'), "%+" + std::string(60, '0') + "1998|%" + std::string(60, '0') + "1998");
}

struct ConditionCase {
    const char* line;
    bool result;
};

void PrintTo(const ConditionCase& c, std::ostream* os) {
    *os << c.line;
}

class DateTimeCondition : public testing::TestWithParam<ConditionCase> {};

// Now is Thursday, 22 January 1998, 13:05:00 local time.
TEST_P(DateTimeCondition, Holds) {
    TestDesktop desktop;
    EXPECT_EQ(desktop.Line(GetParam().line), GetParam().result);
    EXPECT_TRUE(desktop.LastRunner().SyntaxFlag());
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DateTimeCondition,
    testing::Values(
        ConditionCase{"IsDateBefore(01/22/98,01/23/98)", true}, ConditionCase{"IsDateBefore(01/22/98,01/22/98)", false},
        ConditionCase{"IsDateAfter(01/23/98,01/22/98)", true}, ConditionCase{"IsDateEqual(01/22/98,01/22/98)", true},
        // Separators are not read.
        ConditionCase{"IsDateEqual(01-22-98,01.22.98)", true},
        // A short or empty date is now, time of day included.
        ConditionCase{"IsDateEqual(01/22/98,\"\")", false}, ConditionCase{"IsDateAfter(\"\",01/22/98)", true},
        ConditionCase{"IsDateBefore(1/22/98,01/23/98)", true}, ConditionCase{"IsDateBefore(1/22/98,01/22/98)", false},
        // Two-digit years take the current century.
        ConditionCase{"IsDateEqual(01/22/1998,01/22/98)", true},
        ConditionCase{"IsDateEqual(03/01/05,03/01/1905)", true}, ConditionCase{"IsDateBefore(01/01/05,01/01/98)", true},
        // Out-of-range fields carry over.
        ConditionCase{"IsDateEqual(13/01/97,01/01/98)", true}, ConditionCase{"IsDateEqual(01/32/98,02/01/98)", true},
        ConditionCase{"IsDateEqual(03/00/98,02/28/98)", true},
        ConditionCase{"IsDateEqual(03/00/2000,02/29/2000)", true},
        ConditionCase{"IsDateEqual(xx/01/98,12/01/97)", true},
        // Both ends of a range are outside it.
        ConditionCase{"IsDateBetween(01/22/98,01/21/98,01/23/98)", true},
        ConditionCase{"IsDateBetween(01/22/98,01/22/98,01/23/98)", false},
        ConditionCase{"IsDateBetween(01/22/98,01/21/98,01/22/98)", false},
        ConditionCase{"IsDateBetween(01/22/98,01/23/98,01/21/98)", false}));

INSTANTIATE_TEST_SUITE_P(Times, DateTimeCondition,
                         testing::Values(ConditionCase{"IsTimeBefore(09:00:00,17:00:00)", true},
                                         ConditionCase{"IsTimeAfter(09:00:00,17:00:00)", false},
                                         ConditionCase{"IsTimeEqual(01:30:00 PM,13:30:00)", true},
                                         ConditionCase{"IsTimeEqual(01:30:00PM,13:30:00)", true},
                                         ConditionCase{"IsTimeEqual(01:30:00 pm,01:30:00)", true},
                                         ConditionCase{"IsTimeEqual(12:30:00 PM,12:30:00)", true},
                                         ConditionCase{"IsTimeEqual(12:30:00 AM,12:30:00)", true},
                                         ConditionCase{"IsTimeEqual(13:30:00 PM,13:30:00)", true},
                                         ConditionCase{"IsTimeEqual(12:60:00,13:00:00)", true},
                                         ConditionCase{"IsTimeEqual(24:00:00,23:59:60)", true},
                                         // Now is 13:05:00; a short time is now.
                                         ConditionCase{"IsTimeEqual(13:05:00,\"\")", true},
                                         ConditionCase{"IsTimeEqual(13:05:01,now)", false},
                                         ConditionCase{"IsTimeAfter(\"\",17:00:00)", false},
                                         ConditionCase{"IsTimeBetween(\"\",13:00:00,14:00:00)", true},
                                         ConditionCase{"IsTimeBetween(13:05:00,13:05:00,14:00:00)", false},
                                         ConditionCase{"IsTimeBetween(14:00:00,13:05:00,14:00:00)", false}));

TEST(TimeComparison, FollowsTheClock) {
    TestDesktop desktop;
    desktop.Line("GetTime(%A)");
    EXPECT_TRUE(desktop.Line("IsTimeEqual(%A,\"\")"));
    desktop.Sim().clock.SetNow(TestDesktop::LocalTime(1998, 1, 22, 13, 5, 1));
    EXPECT_FALSE(desktop.Line("IsTimeEqual(%A,\"\")"));

    desktop.Sim().clock.SetNow(TestDesktop::LocalTime(1998, 1, 22, 17, 0, 0));
    EXPECT_FALSE(desktop.Line("IsTimeAfter(\"\",17:00:00)"));
    desktop.Sim().clock.SetNow(TestDesktop::LocalTime(1998, 1, 22, 17, 0, 1));
    EXPECT_TRUE(desktop.Line("IsTimeAfter(\"\",17:00:00)"));
}

TEST(DateParsing, TwoDigitYearsFollowTheCurrentCentury) {
    const std::int64_t in2005 = TestDesktop::LocalTime(2005, 6, 1, 8, 0, 0);
    EXPECT_EQ(ParseMacroDate("01/01/05", in2005), TestDesktop::LocalTime(2005, 1, 1, 0, 0, 0));
    EXPECT_EQ(ParseMacroDate("01/01/98", in2005), TestDesktop::LocalTime(2098, 1, 1, 0, 0, 0));
    // Beyond 2038 and before 1970 are ordinary points in time.
    EXPECT_EQ(ParseMacroDate("12/31/1969", in2005), TestDesktop::LocalTime(1969, 12, 31, 0, 0, 0));
    EXPECT_EQ(ParseMacroTime("abc", in2005), in2005);
}

TEST(DateTimeCommands, WrongArgumentCountsFailTheLine) {
    TestDesktop desktop;
    for (const char* line : {"IsDateBetween(01/22/98,01/21/98)", "IsTimeEqual(13:00:00)", "GetDateTime(%A)"}) {
        desktop.Line(line);
        EXPECT_FALSE(desktop.LastRunner().SyntaxFlag()) << line;
    }
}

} // namespace
} // namespace ordwell
