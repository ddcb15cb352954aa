#include "WindowPicker.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "PickerWindowTitles.h"
#include "QtText.h"

namespace ordwell {

WindowPicker::WindowPicker(WindowSystem& windows, QWidget* parent) : QDialog(parent) {
    // Modal to the editor only: the help window stays usable.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Ordwell"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("&Active windows:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName("windows");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumSize(460, 240);
    for (const std::string& title : PickerWindowTitles(windows)) {
        auto* item = new QListWidgetItem(ToQString(title), m_list);
        // The whole title, also where the list is too narrow to show it.
        item->setToolTip(item->text());
    }
    m_list->setCurrentRow(-1);
    label->setBuddy(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

std::string WindowPicker::Title() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? std::string() : ToUtf8(selected.front()->text());
}

std::optional<std::string> WindowPicker::Ask(WindowSystem& windows, QWidget* parent) {
    WindowPicker picker(windows, parent);
    if (picker.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return picker.Title();
}

} // namespace ordwell
