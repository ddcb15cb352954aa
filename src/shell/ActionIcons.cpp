#include "ActionIcons.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

#include "editor/QtText.h"
#include "engine/CommandCatalogue.h"

namespace ordwell {

namespace {

struct CommandIconNames {
    CommandId command;
    const char* theme;
};

// Freedesktop icon names, as themes name them.
// IfLessThan and IfMoreThan have none: the themes' arrows are Move Down and
// Move Up, so they get badges with their signs.
constexpr std::array<CommandIconNames, 41> kCommandIcons = {{
    {CommandId::kGoTo, "go-jump"},
    {CommandId::kIf, "dialog-question"},
    {CommandId::kRepeat, "media-playlist-repeat"},
    {CommandId::kWhile, "view-refresh"},
    {CommandId::kBeep, "audio-volume-high"},
    {CommandId::kPlaySound, "audio-x-generic"},
    {CommandId::kRunProgram, "system-run"},
    {CommandId::kQuitProgram, "application-exit"},
    {CommandId::kDelay, "appointment-soon"},
    {CommandId::kMessageBox, "dialog-information"},
    {CommandId::kMessageBoxOkCancel, "dialog-question"},
    {CommandId::kExitMacro, "process-stop"},
    {CommandId::kRunMacro, "media-playback-start"},
    {CommandId::kFileExist, "edit-find"},
    {CommandId::kWriteToFile, "document-save"},
    {CommandId::kLogToFile, "document-new"},
    {CommandId::kLogSystem, "computer"},
    {CommandId::kLogError, "dialog-error"},
    {CommandId::kOnError, "dialog-warning"},
    {CommandId::kDdeCommand, "network-transmit"},
    {CommandId::kDdeScript, "network-transmit-receive"},
    {CommandId::kSendKeysToWindow, "input-keyboard"},
    {CommandId::kSendKeys, "preferences-desktop-keyboard"},
    {CommandId::kInputBox, "insert-text"},
    {CommandId::kSendInputToWindow, "edit-paste"},
    {CommandId::kSendInput, "edit-paste"},
    {CommandId::kSendNow, "x-office-calendar"},
    {CommandId::kSendEnvironment, "preferences-system"},
    {CommandId::kMinimizeWindow, "window-minimize"},
    {CommandId::kMaximizeWindow, "window-maximize"},
    {CommandId::kNormalizeWindow, "window-restore"},
    {CommandId::kActivateWindow, "window-new"},
    {CommandId::kCloseWindow, "window-close"},
    {CommandId::kFindWindow, "system-search"},
    {CommandId::kWindowActive, "emblem-default"},
    {CommandId::kSetCaption, "format-text-bold"},
    {CommandId::kPowerOff, "system-shutdown"},
    {CommandId::kShutdownSystem, "system-shutdown"},
    {CommandId::kRebootSystem, "system-reboot"},
    {CommandId::kLogout, "system-log-out"},
    {CommandId::kSetDirectory, "folder-open"},
}};
// A label line is no command, but has a button of its own.
constexpr const char* kLabelIcon = "bookmark-new";

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
QString BadgeText(CommandId command) {
    if (command == CommandId::kIfLessThan) {
        return "<";
    }
    if (command == CommandId::kIfMoreThan) {
        return ">";
    }
    return Initials(Command(command).name);
}

// A badge with the text, in a colour of its own per name, in calm tones.
QIcon Badge(std::string_view name, const QString& text) {
    QIcon icon;
    const size_t hash = std::hash<std::string_view>{}(name);
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

QIcon CommandIcon(CommandId command) {
    for (const CommandIconNames& entry : kCommandIcons) {
        if (entry.command == command && QIcon::hasThemeIcon(entry.theme)) {
            return QIcon::fromTheme(entry.theme);
        }
    }
    return Badge(Command(command).name, BadgeText(command));
}

QIcon LabelIcon() {
    return QIcon::hasThemeIcon(kLabelIcon) ? QIcon::fromTheme(kLabelIcon) : Badge("Label", "L");
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
