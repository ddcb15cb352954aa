#include "MacroPrinter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include "QtText.h"

namespace ordwell {

namespace {

// Thousandths of an inch on the printer, as its pixels.
struct DeviceScale {
    double x = 1;
    double y = 1;

    double X(int thousandths) const { return thousandths * x; }
    double Y(int thousandths) const { return thousandths * y; }
};

DeviceScale ScaleOf(const QPrinter& printer) {
    return DeviceScale{printer.logicalDpiX() / 1000.0, printer.logicalDpiY() / 1000.0};
}

} // namespace

QFont PrinterFont(const QFont& listFont) {
    QFont font = listFont;
    font.setPointSizeF(QFontInfo(listFont).pixelSize());
    // Latin text is set glyph by glyph, without ligatures: "flag" printed
    // with the "fl" ligature reads back from a PDF as "\uFB02ag", and macro
    // text copied out of a printout must stay what it was.
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    return font;
}

PrintGeometry PrinterGeometry(QPrinter& printer, const QFont& font) {
    const DeviceScale scale = ScaleOf(printer);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const QFontMetricsF metrics(font, &printer);
    PrintGeometry geometry;
    geometry.pageWidth = page.width() / scale.x;
    geometry.pageHeight = page.height() / scale.y;
    geometry.lineHeight = metrics.height() / scale.y;
    geometry.averageCharWidth = metrics.averageCharWidth() / scale.x;
    geometry.textWidth = [metrics, scale](std::string_view text) {
        return metrics.horizontalAdvance(ToQString(text)) / scale.x;
    };
    return geometry;
}

bool PrintMacro(QPrinter& printer, const std::vector<std::string>& lines, const std::string& title,
                const QFont& listFont, bool lineNumbers) {
    const QFont font = PrinterFont(listFont);
    const std::vector<PrintedPage> pages =
        LayOutPrintedMacro(lines, title, lineNumbers, PrinterGeometry(printer, font));
    int first = 1;
    int last = static_cast<int>(pages.size());
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const DeviceScale scale = ScaleOf(printer);
    painter.setPen(QPen(Qt::black, printer.logicalDpiY() / 100.0));
    // Texts are placed by their top; the painter writes on the base line.
    const auto text = [&](double x, int top, const std::string& content) {
        painter.drawText(QPointF(x, scale.Y(top) + metrics.ascent()), ToQString(content));
    };
    const auto rule = [&](const PrintedPage& page, int y) {
        painter.drawLine(QPointF(scale.X(page.ruleLeft), scale.Y(y)), QPointF(scale.X(page.ruleRight), scale.Y(y)));
    };
    for (int number = first; number <= last; ++number) {
        if (number > first) {
            printer.newPage();
        }
        const PrintedPage& page = pages[static_cast<std::size_t>(number - 1)];
        text(scale.X(page.title.x), page.title.y, page.title.text);
        rule(page, page.titleRule);
        for (const PlacedText& row : page.rows) {
            text(scale.X(row.x), row.y, row.text);
        }
        rule(page, page.footerRule);
        const double width = metrics.horizontalAdvance(ToQString(page.pageNumber.text));
        text(scale.X(page.pageNumber.x) - width / 2, page.pageNumber.y, page.pageNumber.text);
    }
    return painter.end();
}

} // namespace ordwell
