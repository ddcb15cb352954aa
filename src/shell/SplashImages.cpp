#include "SplashImages.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "SplashAnimation.h"

namespace ordwell {

namespace {

constexpr int kWidth = SplashAnimation::kPictureLeft * 2 + SplashAnimation::kPictureWidth + 1;
constexpr int kHeight = SplashAnimation::kPictureTop + SplashAnimation::kPictureHeight + 30;

const QColor kInk(34, 44, 64);
const QColor kPaper(250, 250, 246);
const QColor kRun(60, 170, 80);

} // namespace

QPixmap SplashBackground() {
    QPixmap pixmap(kWidth, kHeight);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(46, 64, 96));
    sky.setColorAt(1, QColor(20, 28, 44));
    painter.fillRect(pixmap.rect(), sky);
    painter.setPen(QPen(QColor(90, 110, 150), 1));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));

    QFont title = QApplication::font();
    title.setPixelSize(34);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(SplashAnimation::kPictureLeft, 8, kWidth, 50), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Ordwell"));
    QFont small = QApplication::font();
    small.setPixelSize(12);
    painter.setFont(small);
    painter.setPen(QColor(190, 204, 228));
    painter.drawText(QRect(0, 8, kWidth - SplashAnimation::kPictureLeft, 50), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Desktop automation"));

    // The place the picture opens into: a shaded sheet.
    const QRect place(SplashAnimation::kPictureLeft, SplashAnimation::kPictureTop, SplashAnimation::kPictureWidth,
                      SplashAnimation::kPictureHeight);
    painter.fillRect(place, QColor(30, 40, 60));
    painter.setPen(QColor(70, 86, 118));
    painter.drawRect(place.adjusted(0, 0, -1, -1));

    painter.setPen(QColor(160, 176, 204));
    painter.drawText(QRect(0, place.bottom() + 4, kWidth - SplashAnimation::kPictureLeft, kHeight - place.bottom() - 6),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Version " ORDWELL_VERSION));
    return pixmap;
}

QPixmap SplashPicture() {
    const int width = SplashAnimation::kPictureWidth;
    const int height = SplashAnimation::kPictureHeight;
    QPixmap pixmap(width, height);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(pixmap.rect(), kPaper);

    // A macro, line by line, with a green run arrow beside it.
    QFont code = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    code.setPixelSize(11);
    painter.setFont(code);
    const char* const lines[] = {
        "// Back up the reports",        "SetCaption(\"Backup\")",
        "If(FileExist(\"report.txt\"),", "   Beep())",
        "RunProgram(\"gedit\",Normal)",  "Delay(1500)",
        "SendKeys(\"Done~\")",           "MessageBox(\"Backed up\")",
    };
    int y = 16;
    int number = 1;
    for (const char* line : lines) {
        painter.setPen(QColor(150, 150, 140));
        painter.drawText(8, y, QString::number(number++));
        painter.setPen(line[0] == '/' ? QColor(70, 130, 80) : kInk);
        painter.drawText(26, y, QString::fromLatin1(line));
        y += 16;
    }
    QPainterPath arrow;
    arrow.moveTo(width - 70, height / 2.0 - 34);
    arrow.lineTo(width - 14, height / 2.0);
    arrow.lineTo(width - 70, height / 2.0 + 34);
    arrow.closeSubpath();
    painter.setPen(QPen(kRun.darker(150), 2));
    painter.setBrush(kRun);
    painter.drawPath(arrow);
    return pixmap;
}

} // namespace ordwell
