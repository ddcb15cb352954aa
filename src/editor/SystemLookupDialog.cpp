#include "SystemLookupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "QtText.h"
#include "SystemLookupNames.h"

namespace ordwell {

SystemLookupDialog::SystemLookupDialog(bool withTexts, QWidget* parent) : QDialog(parent) {
    // Modal to the editor only: the help window stays usable.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("System Lookup Value"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("&System value:"), this);
    m_names = new QComboBox(this);
    m_names->setObjectName("names");
    for (const std::string_view name : SystemLookupNames(withTexts)) {
        m_names->addItem(ToQString(name));
    }
    m_names->setCurrentText(ToQString(SystemLookupDefault()));
    m_names->setMinimumWidth(260);
    label->setBuddy(m_names);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(m_names);
    layout->addWidget(buttons);
}

std::string SystemLookupDialog::Name() const {
    return ToUtf8(m_names->currentText());
}

std::optional<std::string> SystemLookupDialog::Ask(bool withTexts, QWidget* parent) {
    SystemLookupDialog dialog(withTexts, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Name();
}

} // namespace ordwell
