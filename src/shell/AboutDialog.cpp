#include "AboutDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "AboutFigures.h"
#include "ActionIcons.h"
#include "editor/QtText.h"

namespace ordwell {

AboutDialog::AboutDialog(const Platform& platform, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Ordwell"));
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIcon().pixmap(48, 48));
    heading->addWidget(icon, 0, Qt::AlignTop);
    auto* name = new QLabel(
        tr("<b>Ordwell</b> version %1<br>Desktop automation with one-line macros").arg(QStringLiteral(ORDWELL_VERSION)),
        this);
    name->setObjectName("programName");
    heading->addWidget(name, 1);
    layout->addLayout(heading);

    const AboutFigures figures = ReadAboutFigures(platform, ToUtf8(QDir::currentPath()));
    auto* resources = new QGroupBox(tr("System Resources"), this);
    auto* form = new QFormLayout(resources);
    auto* memory = new QLabel(ToQString(figures.physicalMemory), resources);
    memory->setObjectName("physicalMemory");
    auto* disk = new QLabel(ToQString(figures.freeDisk), resources);
    disk->setObjectName("freeDisk");
    form->addRow(tr("Physical memory:"), memory);
    form->addRow(tr("Free disk space:"), disk);
    layout->addWidget(resources);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace ordwell
