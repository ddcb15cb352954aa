#include "PrintLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/Utf8.h"

namespace ordwell {

namespace {

constexpr std::size_t kPrintedCharacters = 500;
// The title and the page number sit this far above their rows.
constexpr int kHeaderLift = 50;

// The first `count` characters of the text.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t seen = 0; seen < count && at < text.size(); ++seen) {
        at += NextUtf8Char(text, at).length;
    }
    return text.substr(0, at);
}

std::string PrintedText(std::size_t index, std::string_view line, bool lineNumbers) {
    const std::string_view shown = FirstCharacters(line, kPrintedCharacters);
    if (!lineNumbers) {
        return std::string(shown);
    }
    char number[32];
    std::snprintf(number, sizeof number, "%04zu  ", index + 1);
    return number + std::string(shown);
}

bool EndsBreak(std::string_view rest, std::size_t end) {
    const char before = rest[end - 1];
    return before == ' ' || before == '\t' || before == ',' || before == '\\' || rest.substr(end, 2) == "//";
}

// The length of the row that starts the rest of a text, given the width
// there is for it.
std::size_t RowLength(std::string_view rest, double room, const std::function<double(std::string_view)>& widthOf) {
    if (widthOf(rest) <= room) {
        return rest.size();
    }
    for (std::size_t end = rest.size() - 1; end > 0; --end) {
        if (EndsBreak(rest, end) && widthOf(rest.substr(0, end)) <= room) {
            return end;
        }
    }
    // No break point fits: as many whole characters as fit, one at least,
    // so that the text always moves on.
    std::size_t fitting = NextUtf8Char(rest, 0).length;
    for (std::size_t end = fitting; end < rest.size();) {
        end += NextUtf8Char(rest, end).length;
        if (widthOf(rest.substr(0, end)) > room) {
            break;
        }
        fitting = end;
    }
    return fitting;
}

class PageMaker {
public:
    PageMaker(std::string_view title, const PrintGeometry& geometry) : m_title(title), m_geometry(geometry) {
        m_left = kPrintLeftMargin;
        m_right = static_cast<int>(geometry.pageWidth - kPrintRightMargin);
        m_footerRule = static_cast<int>(geometry.pageHeight - kPrintBottomMargin - geometry.lineHeight);
        // Row 0 holds the title; a row fits when it ends above the footer
        // rule. A page takes one row of text at least, whatever the font.
        const double rows = std::floor((m_footerRule - kPrintTopMargin) / std::max(geometry.lineHeight, 1.0));
        m_rowsPerPage = static_cast<int>(std::clamp(rows, 2.0, 1e6));
    }

    int Left() const { return m_left; }
    int Right() const { return m_right; }
    // The page being filled is the last one; a macro with no lines has
    // none until Finish.
    bool Full() const { return !m_pages.empty() && m_rows >= m_rowsPerPage; }

    // The y of the next row, on a new page when this one is full.
    int NextRow() {
        if (m_pages.empty() || Full()) {
            StartPage();
        }
        return RowTop(m_rows++);
    }
    void Place(int x, int y, std::string text) { m_pages.back().rows.push_back({x, y, std::move(text)}); }

    std::vector<PrintedPage> Finish() {
        if (m_pages.empty()) {
            StartPage();
        }
        return std::move(m_pages);
    }

private:
    int RowTop(int row) const { return static_cast<int>(row * m_geometry.lineHeight + kPrintTopMargin); }

    void StartPage() {
        PrintedPage& page = m_pages.emplace_back();
        page.title = {m_left, RowTop(0) - kHeaderLift, m_title};
        page.titleRule = RowTop(1) - kHeaderLift;
        page.footerRule = m_footerRule;
        page.ruleLeft = m_left;
        page.ruleRight = m_right;
        page.pageNumber = {static_cast<int>(m_geometry.pageWidth / 2), m_footerRule + kHeaderLift,
                           "Page: " + std::to_string(m_pages.size())};
        m_rows = 1;
    }

    std::string m_title;
    const PrintGeometry& m_geometry;
    int m_left = 0;
    int m_right = 0;
    int m_footerRule = 0;
    int m_rowsPerPage = 0;
    int m_rows = 0;
    std::vector<PrintedPage> m_pages;
};

} // namespace

std::vector<PrintedPage> LayOutPrintedMacro(const std::vector<std::string>& lines, std::string_view title,
                                            bool lineNumbers, const PrintGeometry& geometry) {
    PageMaker pages(title, geometry);
    const double continuation = lineNumbers ? geometry.textWidth("0000  ") : 3 * geometry.averageCharWidth;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string text = PrintedText(index, lines[index], lineNumbers);
        if (text.empty()) {
            pages.NextRow();
            continue;
        }
        double indent = 0;
        for (std::size_t start = 0; start < text.size();) {
            const std::string_view rest = std::string_view(text).substr(start);
            const double room = pages.Right() - pages.Left() - indent;
            const std::size_t length = RowLength(rest, room, geometry.textWidth);
            const int y = pages.NextRow();
            pages.Place(static_cast<int>(pages.Left() + indent), y, std::string(rest.substr(0, length)));
            start += length;
            indent = continuation;
        }
    }
    return pages.Finish();
}

} // namespace ordwell
