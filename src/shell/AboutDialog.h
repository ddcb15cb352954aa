#pragma once

#include <QDialog>

namespace ordwell {

struct Platform;

// About Ordwell: the program's icon, name and version, and two figures of
// the machine read as the box opens: its physical memory and the space free
// on the drive of the current directory.
class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const Platform& platform, QWidget* parent);
};

} // namespace ordwell
