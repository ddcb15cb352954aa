#include "ActionIcons.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

#include "editor/QtText.h"

namespace ordwell {

namespace {

struct CommandIconNames {
    std::string_view command;
    const char* theme;
};

// Freedesktop icon names, as themes name them.
// IfLessThan and IfMoreThan have none: the themes' arrows are Move Down and
// Move Up, so they get badges with their signs.
constexpr std::array<CommandIconNames, 42> kCommandIcons = {{
    {"Label", "bookmark-new"},
    {"GoTo", "go-jump"},
    {"If", "dialog-question"},
    {"Repeat", "media-playlist-repeat"},
    {"While", "view-refresh"},
    {"Beep", "audio-volume-high"},
    {"PlaySound", "audio-x-generic"},
    {"RunProgram", "system-run"},
    {"QuitProgram", "application-exit"},
    {"Delay", "appointment-soon"},
    {"MessageBox", "dialog-information"},
    {"MessageBoxOkCancel", "dialog-question"},
    {"ExitMacro", "process-stop"},
    {"RunMacro", "media-playback-start"},
    {"FileExist", "edit-find"},
    {"WriteToFile", "document-save"},
    {"LogToFile", "document-new"},
    {"LogSystem", "computer"},
    {"LogError", "dialog-error"},
    {"OnError", "dialog-warning"},
    {"DdeCommand", "network-transmit"},
    {"DdeScript", "network-transmit-receive"},
    {"SendKeysToWindow", "input-keyboard"},
    {"SendKeys", "preferences-desktop-keyboard"},
    {"InputBox", "insert-text"},
    {"SendInputToWindow", "edit-paste"},
    {"SendInput", "edit-paste"},
    {"SendNow", "x-office-calendar"},
    {"SendEnvironment", "preferences-system"},
    {"MinimizeWindow", "window-minimize"},
    {"MaximizeWindow", "window-maximize"},
    {"NormalizeWindow", "window-restore"},
    {"ActivateWindow", "window-new"},
    {"CloseWindow", "window-close"},
    {"FindWindow", "system-search"},
    {"WindowActive", "emblem-default"},
    {"SetCaption", "format-text-bold"},
    {"PowerOff", "system-shutdown"},
    {"ShutdownSystem", "system-shutdown"},
    {"RebootSystem", "system-reboot"},
    {"Logout", "system-log-out"},
    {"SetDirectory", "folder-open"},
}};

// The command's capitals, at most two: "SendKeysToWindow" gives "SK".
QString Initials(std::string_view command) {
    QString initials;
    for (const char c : command) {
        if (c >= 'A' && c <= 'Z' && initials.size() < 2) {
            initials += QChar(c);
        }
    }
    return initials;
}

// What a badge shows: a comparison its sign, any other command its capitals.
QString BadgeText(std::string_view command) {
    if (command == "IfLessThan") {
        return "<";
    }
    if (command == "IfMoreThan") {
        return ">";
    }
    return Initials(command);
}

QIcon Badge(std::string_view command) {
    QIcon icon;
    const QString text = BadgeText(command);
    // A colour of its own per command, from the name, in calm tones.
    const size_t hash = std::hash<std::string_view>{}(command);
    const QColor colour = QColor::fromHsv(static_cast<int>(hash % 360), 110, 170);
    for (const int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box(0.5, 0.5, size - 1.0, size - 1.0);
        painter.setPen(colour.darker(140));
        painter.setBrush(colour);
        painter.drawRoundedRect(box, size / 5.0, size / 5.0);
        QFont font = QApplication::font();
        font.setBold(true);
        font.setPixelSize(std::max(6, size * (text.size() > 1 ? 9 : 12) / 20));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, text);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

QIcon ThemeIcon(std::initializer_list<const char*> names, QStyle::StandardPixmap fallback) {
    for (const char* name : names) {
        if (QIcon::hasThemeIcon(name)) {
            return QIcon::fromTheme(name);
        }
    }
    return fallback == QStyle::SP_CustomBase ? QIcon() : QApplication::style()->standardIcon(fallback);
}

QIcon CommandIcon(std::string_view command) {
    for (const CommandIconNames& entry : kCommandIcons) {
        if (entry.command == command && QIcon::hasThemeIcon(entry.theme)) {
            return QIcon::fromTheme(entry.theme);
        }
    }
    return Badge(command);
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double s = size;
        // A sheet with three lines of text...
        painter.setPen(QPen(QColor(60, 70, 90), s / 32.0));
        painter.setBrush(QColor(250, 250, 246));
        painter.drawRoundedRect(QRectF(s * 0.12, s * 0.06, s * 0.66, s * 0.84), s * 0.06, s * 0.06);
        painter.setPen(QPen(QColor(90, 110, 140), s / 16.0, Qt::SolidLine, Qt::RoundCap));
        for (const double y : {0.26, 0.42, 0.58}) {
            painter.drawLine(QPointF(s * 0.24, s * y), QPointF(s * 0.62, s * y));
        }
        // ... and a green run arrow over its corner.
        QPainterPath arrow;
        arrow.moveTo(s * 0.52, s * 0.52);
        arrow.lineTo(s * 0.96, s * 0.74);
        arrow.lineTo(s * 0.52, s * 0.96);
        arrow.closeSubpath();
        painter.setPen(QPen(QColor(30, 110, 50), s / 32.0));
        painter.setBrush(QColor(60, 170, 80));
        painter.drawPath(arrow);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void UseFallbackIconTheme() {
    for (const QString& path : QIcon::themeSearchPaths()) {
        if (QDir(path + "/Adwaita").exists()) {
            QIcon::setFallbackThemeName("Adwaita");
            return;
        }
    }
}

} // namespace ordwell
