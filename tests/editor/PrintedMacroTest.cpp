// A macro printed as a PDF file through Qt's PDF output, read back with the
// positions of its words (pdftotext -bbox, from poppler-utils): the title at
// the top, the numbered lines in order, and the rows of a wrapped line under
// the text after the number, cut only between words.
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "editor/MacroView.h"
#include "editor/QtTestEngine.h"
#include "shell/MainWindow.h"

namespace ordwell {

namespace {

// A word of the PDF with its box, in points from the page's top left corner.
struct Word {
    int page = 0;
    double left = 0;
    double top = 0;
    double right = 0;
    QString text;
};

// The words of the PDF, page by page, in reading order.
std::vector<Word> ReadWords(const QString& pdf) {
    QProcess reader;
    reader.start("pdftotext", {"-bbox", pdf, "-"});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
        qWarning() << "pdftotext failed (install poppler-utils):" << reader.errorString()
                   << reader.readAllStandardError();
        return {};
    }
    const QString html = QString::fromUtf8(reader.readAllStandardOutput());
    static const QRegularExpression page("<page ");
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    std::vector<Word> words;
    int pageNumber = 0;
    qsizetype at = 0;
    while (true) {
        const auto nextPage = page.match(html, at);
        const auto nextWord = word.match(html, at);
        if (nextPage.hasMatch() && (!nextWord.hasMatch() || nextPage.capturedStart() < nextWord.capturedStart())) {
            ++pageNumber;
            at = nextPage.capturedEnd();
            continue;
        }
        if (!nextWord.hasMatch()) {
            break;
        }
        QString text = nextWord.captured(4);
        text.replace("&quot;", "\"").replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
        words.push_back({pageNumber, nextWord.captured(1).toDouble(), nextWord.captured(2).toDouble(),
                         nextWord.captured(3).toDouble(), text});
        at = nextWord.capturedEnd();
    }
    return words;
}

// The words of one page grouped into rows by their top, top to bottom.
std::vector<std::vector<Word>> Rows(const std::vector<Word>& words, int page) {
    std::vector<std::vector<Word>> rows;
    for (const Word& word : words) {
        if (word.page != page) {
            continue;
        }
        auto row = std::find_if(rows.begin(), rows.end(),
                                [&](const std::vector<Word>& r) { return std::abs(r.front().top - word.top) < 1; });
        if (row == rows.end()) {
            rows.push_back({word});
        } else {
            row->push_back(word);
        }
    }
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.front().top < b.front().top; });
    for (auto& row : rows) {
        std::sort(row.begin(), row.end(), [](const Word& a, const Word& b) { return a.left < b.left; });
    }
    return rows;
}

QStringList Texts(const std::vector<Word>& row) {
    QStringList texts;
    for (const Word& word : row) {
        texts << word.text;
    }
    return texts;
}

} // namespace

class PrintedMacroTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::QtTestEngine> m_machine;
    std::unique_ptr<MainWindow> m_window;

    // Prints the macro of the lines to a PDF file and reads its words back.
    std::vector<Word> Print(const std::string& content) {
        m_machine->WriteFile("report.ow", content);
        m_window = std::make_unique<MainWindow>(m_machine->GetEngine());
        m_window->OpenFromCommandLine(m_machine->Path("report.ow"));
        const QString pdf = QString::fromStdString(m_machine->Path("report.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                          QPageLayout::Millimeter));
        [&] { QVERIFY(m_window->View().PrintOn(printer)); }();
        return ReadWords(pdf);
    }

private slots:
    void init() { m_machine = std::make_unique<test::QtTestEngine>(); }
    void cleanup() {
        if (m_window) {
            m_window->Document().SetModified(false);
        }
        m_window.reset();
        m_machine.reset();
    }

    void numberedLinesUnderTheTitleAndWrappedRowsUnderTheText() {
        QString longLine = "//";
        for (int i = 0; i < 40; ++i) {
            longLine += QString("word%1 ").arg(i);
        }
        longLine = longLine.trimmed();
        const std::vector<Word> words =
            Print("Beep()\r\n\r\n" + longLine.toStdString() + "\r\nMessageBox(\"done\")\r\n");
        QVERIFY2(!words.empty(), "no words read from the PDF");
        QCOMPARE(words.back().page, 1);
        const auto rows = Rows(words, 1);
        QVERIFY(rows.size() >= 6);

        // The title first, then a row per line; the blank line 2 is its
        // number alone.
        QCOMPARE(Texts(rows[0]), QStringList{"report.ow"});
        QCOMPARE(Texts(rows[1]), (QStringList{"0001", "Beep()"}));
        QCOMPARE(Texts(rows[2]), QStringList{"0002"});
        QCOMPARE(rows[3].front().text, QString("0003"));
        const double numberLeft = rows[1][0].left;
        const double textLeft = rows[1][1].left;
        QCOMPARE(rows[0][0].left, numberLeft);
        QCOMPARE(rows[3][1].left, textLeft);

        // The long line's rows: all but the first start under the text after
        // the number, and together they hold its words whole and in order.
        std::size_t row = 3;
        QStringList printed = Texts(rows[row]).mid(1);
        for (++row; row < rows.size() && rows[row].front().text != "0004"; ++row) {
            QVERIFY2(std::abs(rows[row].front().left - textLeft) < 0.5, qPrintable(rows[row].front().text));
            printed << Texts(rows[row]);
        }
        QVERIFY2(row > 5, "the long line takes several rows");
        QCOMPARE(printed, longLine.split(' '));
        QCOMPARE(Texts(rows[row]), (QStringList{"0004", "MessageBox(\"done\")"}));
        // Rows follow each other at the same distance.
        const double step = rows[2].front().top - rows[1].front().top;
        QVERIFY(step > 0);
        for (std::size_t r = 2; r <= row; ++r) {
            QVERIFY(std::abs(rows[r].front().top - rows[r - 1].front().top - step) < 0.5);
        }

        // The footer last, in the middle of the page.
        QCOMPARE(Texts(rows.back()), (QStringList{"Page:", "1"}));
        const double middle = (rows.back().front().left + rows.back().back().right) / 2;
        QVERIFY2(std::abs(middle - QPageSize(QPageSize::A4).size(QPageSize::Point).width() / 2) < 1,
                 qPrintable(QString::number(middle)));
        QVERIFY(rows.back().front().top > rows[row].front().top + step);
    }

    // PrintLineNumbers 0: the lines alone, continuation rows indented by
    // three average character widths.
    void withoutNumbersTheRowsAreIndented() {
        m_machine->GetSettings().WriteInt("System", "PrintLineNumbers", 0);
        QString longLine = "If(FileExist(\"a\"),";
        for (int i = 0; i < 30; ++i) {
            longLine += QString("Beep%1(),").arg(i);
        }
        longLine += "Beep())";
        const std::vector<Word> words = Print("Delay(5)\r\n" + longLine.toStdString() + "\r\n");
        QVERIFY2(!words.empty(), "no words read from the PDF");
        const auto rows = Rows(words, 1);
        QCOMPARE(Texts(rows[1]), QStringList{"Delay(5)"});
        const double left = rows[1].front().left;
        QCOMPARE(rows[2].front().left, left);
        QVERIFY(rows.size() >= 5);
        // Each row ends after a comma; the next ones start right of the
        // first by the same indent.
        QString joined = rows[2].front().text;
        const double indent = rows[3].front().left - left;
        QVERIFY2(indent > 5 && indent < 40, qPrintable(QString::number(indent)));
        for (std::size_t r = 3; r + 1 < rows.size(); ++r) {
            QVERIFY(joined.endsWith(','));
            QVERIFY(std::abs(rows[r].front().left - left - indent) < 0.5);
            joined += Texts(rows[r]).join("");
        }
        QCOMPARE(joined, longLine);
        for (const Word& word : words) {
            QVERIFY2(!word.text.startsWith("000"), qPrintable(word.text));
        }
    }

    // Macro text comes back out of the printout as it was written: no "fl"
    // or "fi" set as one ligature glyph, which copying would not give back.
    void printedTextHasNoLigatures() {
        const std::vector<Word> words = Print("PutVar(%A,\"flag file office\")\r\n");
        QVERIFY2(!words.empty(), "no words read from the PDF");
        QStringList texts;
        for (const Word& word : words) {
            texts << word.text;
        }
        const QString all = texts.join(' ');
        QVERIFY2(all.contains("PutVar(%A,\"flag file office\")"), qPrintable(all));
    }
};

} // namespace ordwell

QTEST_MAIN(ordwell::PrintedMacroTest)
#include "PrintedMacroTest.moc"
