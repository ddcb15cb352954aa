#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// What the layout of a printed macro needs to know of the printer. Distances
// are in thousandths of an inch; a page's coordinates start at the top left
// corner of the area the printer can print on, y growing downwards.
struct PrintGeometry {
    double pageWidth = 0;
    double pageHeight = 0;
    double lineHeight = 0;       // the printer font's text height
    double averageCharWidth = 0; // of the printer font
    // The width of a text in the printer font.
    std::function<double(std::string_view)> textWidth;
};

// A text on a page: x is its left edge (for the page number, its centre), y
// its top.
struct PlacedText {
    int x = 0;
    int y = 0;
    std::string text;

    friend bool operator==(const PlacedText&, const PlacedText&) = default;
};

// One printed page: the title with a rule under it, the rows of macro lines,
// and a footer rule with the page number centred under it. Both rules run
// from `ruleLeft` to `ruleRight`.
struct PrintedPage {
    PlacedText title;
    int titleRule = 0;
    std::vector<PlacedText> rows;
    int footerRule = 0;
    PlacedText pageNumber;
    int ruleLeft = 0;
    int ruleRight = 0;
};

// Margins of the text, in thousandths of an inch inside the printable area.
inline constexpr int kPrintTopMargin = 500;
inline constexpr int kPrintBottomMargin = 500;
inline constexpr int kPrintLeftMargin = 250;
inline constexpr int kPrintRightMargin = 250;

// The pages of a macro, all of them, so that any page can be drawn again
// (a preview goes back and forth). Each line is printed as at most its first
// 500 characters, after its four-digit number and two blanks ("0001  Beep()")
// when `lineNumbers` is set. A text wider than the margins is cut into rows:
// after the last blank, tab, comma or backslash, or before the last "//",
// that lets the row fit; a text with none of those that fit is cut after its
// last character that fits. Rows after the first are indented to line up
// with the text after the number, or by three average character widths
// without numbers. An empty text takes a row of its own. Every row ends
// above the footer rule: a line that does not fit goes on on the next page.
// A macro with no lines prints one page with the title and the footer.
std::vector<PrintedPage> LayOutPrintedMacro(const std::vector<std::string>& lines, std::string_view title,
                                            bool lineNumbers, const PrintGeometry& geometry);

} // namespace ordwell
