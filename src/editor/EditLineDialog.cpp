#include "EditLineDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "PastedLines.h"
#include "QtText.h"

namespace ordwell {

EditLineDialog::EditLineDialog(const std::string& line, QWidget* parent) : QDialog(parent) {
    // Modal to the editor only: the help window stays usable.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Edit Line"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("&Macro line:"), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName("line");
    const QString text = ToQString(line);
    m_edit->setMaxLength(std::max<int>(static_cast<int>(kMaxLineBytes), static_cast<int>(text.size())));
    m_edit->setText(text);
    m_edit->setMinimumWidth(480);
    label->setBuddy(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

std::string EditLineDialog::Line() const {
    return ToUtf8(m_edit->text());
}

std::optional<std::string> EditLineDialog::Ask(const std::string& line, QWidget* parent) {
    EditLineDialog dialog(line, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Line();
}

} // namespace ordwell
