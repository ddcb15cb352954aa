#include "FileBrowse.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "QtText.h"

namespace ordwell {

namespace {

QString Filter(Browse kind) {
    switch (kind) {
    case Browse::MacroFile:
        return QObject::tr("Ordwell Files (*.ow);;All Files (*)");
    case Browse::SoundFile:
        return QObject::tr("Sound Files (*.wav *.flac *.ogg);;All Files (*)");
    case Browse::IniFile:
        return QObject::tr("Configuration Files (*.ini);;All Files (*)");
    case Browse::TextFile:
        return QObject::tr("Text Files (*.txt);;All Files (*)");
    case Browse::LogFile:
        return QObject::tr("Log Files (*.log);;All Files (*)");
    default:
        return QObject::tr("All Files (*)");
    }
}

// Where the dialog opens: the folder of what the field names, when there is
// one, else the current directory.
QString StartFolder(const std::string& current) {
    const QFileInfo info(ToQString(current));
    if (!current.empty() && info.isDir()) {
        return info.absoluteFilePath();
    }
    if (!current.empty() && info.absoluteDir().exists()) {
        return info.absolutePath();
    }
    return QDir::currentPath();
}

} // namespace

std::optional<std::string> BrowseForPath(Browse kind, const std::string& current, QWidget* parent) {
    if (kind == Browse::Folder || kind == Browse::FolderForNew) {
        const QString folder = QFileDialog::getExistingDirectory(parent, QObject::tr("Select Directory"),
                                                                 StartFolder(current), QFileDialog::ShowDirsOnly);
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        std::string path = ToUtf8(QDir::toNativeSeparators(folder));
        if (kind == Browse::FolderForNew && !path.ends_with('/')) {
            path += '/';
        }
        return path;
    }
    // Any name will do, also one that does not exist yet (a log to be made,
    // a copy's destination); nothing is overwritten by choosing it.
    QFileDialog dialog(parent, QObject::tr("Select File"), StartFolder(current), Filter(kind));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToUtf8(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

} // namespace ordwell
