// The pages of a printed macro: what goes on which page and row, and where
// long lines wrap, on a printer whose characters are all a tenth of an inch
// wide and whose rows are a fifth of an inch high.
#include <gtest/gtest.h>

#include "editor/PrintLayout.h"
#include "text/Utf8.h"

namespace ordwell {
namespace {

using Rows = std::vector<PlacedText>;

// A page 3 inches square: the text runs from 250 to 2750, 25 characters;
// rows start at 500 and every 200 below; the footer rule lies at
// 3000 - 500 - 200 = 2300, so eight rows of text fit under the title.
PrintGeometry Page(double width = 3000, double height = 3000, double lineHeight = 200) {
    PrintGeometry geometry;
    geometry.pageWidth = width;
    geometry.pageHeight = height;
    geometry.lineHeight = lineHeight;
    geometry.averageCharWidth = 100;
    geometry.textWidth = [](std::string_view text) { return 100.0 * static_cast<double>(CountUtf8Chars(text)); };
    return geometry;
}

// The rows of all pages, in order.
Rows AllRows(const std::vector<PrintedPage>& pages) {
    Rows rows;
    for (const PrintedPage& page : pages) {
        rows.insert(rows.end(), page.rows.begin(), page.rows.end());
    }
    return rows;
}

TEST(PrintLayout, TitleRulesNumberedLineAndFooter) {
    const auto pages = LayOutPrintedMacro({"Beep()"}, "m.ow", true, Page());
    ASSERT_EQ(pages.size(), 1u);
    const PrintedPage& page = pages[0];
    EXPECT_EQ(page.title, (PlacedText{250, 450, "m.ow"}));
    EXPECT_EQ(page.titleRule, 650);
    EXPECT_EQ(page.rows, (Rows{{250, 700, "0001  Beep()"}}));
    EXPECT_EQ(page.footerRule, 2300);
    EXPECT_EQ(page.pageNumber, (PlacedText{1500, 2350, "Page: 1"}));
    EXPECT_EQ(page.ruleLeft, 250);
    EXPECT_EQ(page.ruleRight, 2750);

    // An empty macro still prints its one page.
    const auto empty = LayOutPrintedMacro({}, "Untitled", true, Page());
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty[0].rows.empty());
    EXPECT_EQ(empty[0].title.text, "Untitled");
    EXPECT_EQ(empty[0].pageNumber.text, "Page: 1");
}

TEST(PrintLayout, LongLinesWrapAtBreakPointsAndLineUpAfterTheNumber) {
    // Before the "//" of an inner comment, then after a blank.
    auto rows = AllRows(LayOutPrintedMacro({"//Copy,move,delete//then log the result and more"}, "m", true, Page()));
    EXPECT_EQ(
        rows,
        (Rows{{250, 700, "0001  //Copy,move,delete"}, {850, 900, "//then log the "}, {850, 1100, "result and more"}}));
    // After a comma; a backslash and a tab break too.
    rows = AllRows(LayOutPrintedMacro({"If(FileExist(x),Beep(),MessageBox(y))"}, "m", true, Page()));
    EXPECT_EQ(rows, (Rows{{250, 700, "0001  If(FileExist(x),"}, {850, 900, "Beep(),"}, {850, 1100, "MessageBox(y))"}}));
    rows = AllRows(LayOutPrintedMacro({"RunMacro(c:\\macros\\daily\\backup.ow)"}, "m", false, Page()));
    EXPECT_EQ(rows, (Rows{{250, 700, "RunMacro(c:\\macros\\daily\\"}, {550, 900, "backup.ow)"}}));
    rows = AllRows(LayOutPrintedMacro({"SendKeys(abcdefghijklmno\tpqrstuvwxyz)"}, "m", false, Page()));
    EXPECT_EQ(rows, (Rows{{250, 700, "SendKeys(abcdefghijklmno\t"}, {550, 900, "pqrstuvwxyz)"}}));
}

TEST(PrintLayout, WithoutNumbersRowsIndentByThreeCharactersAndABlankLineTakesARow) {
    const auto rows =
        AllRows(LayOutPrintedMacro({"Beep()", "", "MessageBox(\"one two three four five six\")"}, "m", false, Page()));
    EXPECT_EQ(
        rows,
        (Rows{{250, 700, "Beep()"}, {250, 1100, "MessageBox(\"one two "}, {550, 1300, "three four five six\")"}}));
    // With numbers a blank line is its number alone.
    EXPECT_EQ(AllRows(LayOutPrintedMacro({""}, "m", true, Page())), (Rows{{250, 700, "0001  "}}));
}

TEST(PrintLayout, TextWithoutBreakPointsIsCutWhereItStopsFitting) {
    const auto rows = AllRows(LayOutPrintedMacro({std::string(60, 'x')}, "m", false, Page()));
    EXPECT_EQ(
        rows,
        (Rows{{250, 700, std::string(25, 'x')}, {550, 900, std::string(22, 'x')}, {550, 1100, std::string(13, 'x')}}));
    // Characters stay whole; a row narrower than one character still takes
    // one, so the text moves on.
    auto narrow = Page(600);
    const auto cut = AllRows(LayOutPrintedMacro({"ééé"}, "m", false, narrow));
    EXPECT_EQ(cut, (Rows{{250, 700, "é"}, {550, 900, "é"}, {550, 1100, "é"}}));
}

TEST(PrintLayout, OnlyTheFirst500CharactersArePrinted) {
    std::string text;
    for (const PlacedText& row : AllRows(LayOutPrintedMacro({std::string(600, 'y')}, "m", false, Page()))) {
        text += row.text;
    }
    EXPECT_EQ(text, std::string(500, 'y'));
    std::string accents;
    for (int i = 0; i < 600; ++i) {
        accents += "é";
    }
    text.clear();
    for (const PlacedText& row : AllRows(LayOutPrintedMacro({accents}, "m", false, Page()))) {
        text += row.text;
    }
    EXPECT_EQ(CountUtf8Chars(text), 500u);
    EXPECT_EQ(text, accents.substr(0, 1000));
}

// Every row ends above the footer rule; a line that does not fit goes on on
// the next page, and pages are numbered on.
TEST(PrintLayout, RowsStayAboveTheFooterAndWrappedLinesGoOnOverThePage) {
    std::vector<std::string> lines(7, "Beep()");
    lines.push_back("If(FileExist(x),Beep(),MessageBox(y))");
    lines.push_back("Delay(1)");
    const auto pages = LayOutPrintedMacro(lines, "m", true, Page());
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].rows.size(), 8u);
    EXPECT_EQ(pages[0].rows[6], (PlacedText{250, 1900, "0007  Beep()"}));
    EXPECT_EQ(pages[0].rows[7], (PlacedText{250, 2100, "0008  If(FileExist(x),"}));
    EXPECT_EQ(pages[1].rows,
              (Rows{{850, 700, "Beep(),"}, {850, 900, "MessageBox(y))"}, {250, 1100, "0009  Delay(1)"}}));
    EXPECT_EQ(pages[1].title.text, "m");
    EXPECT_EQ(pages[1].pageNumber.text, "Page: 2");
    for (const PrintedPage& page : pages) {
        for (const PlacedText& row : page.rows) {
            EXPECT_LE(row.y + 200, page.footerRule) << row.text;
        }
    }

    // Line 10000 has five digits, on the last page.
    const auto many = LayOutPrintedMacro(std::vector<std::string>(10000, "x"), "m", true, Page());
    EXPECT_EQ(many.size(), 1250u);
    EXPECT_EQ(many.back().rows.back().text, "10000  x");
    EXPECT_EQ(many.back().pageNumber.text, "Page: 1250");
    EXPECT_EQ(many[998].rows.front().text, "7985  x");
}

TEST(PrintLayout, AFontTallerThanThePageStillPrintsEveryLine) {
    const auto pages = LayOutPrintedMacro({"a", "b", "c"}, "m", false, Page(3000, 3000, 5000));
    ASSERT_EQ(pages.size(), 3u);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        ASSERT_EQ(pages[i].rows.size(), 1u);
        EXPECT_EQ(pages[i].rows[0].text, std::string(1, static_cast<char>('a' + i)));
    }
}

} // namespace
} // namespace ordwell
