#include "FindingsPanel.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "LineFindings.h"
#include "QtText.h"

namespace ordwell {

FindingsPanel::FindingsPanel(QWidget* parent) : QGroupBox(tr("Check"), parent) {
    setObjectName("findings");
    auto* layout = new QHBoxLayout(this);
    m_rows = new QListWidget(this);
    m_rows->setObjectName("findingRows");
    m_rows->setUniformItemSizes(true);
    auto* close = new QPushButton(tr("C&lose"), this);
    close->setAutoDefault(false);
    layout->addWidget(m_rows, 1);
    layout->addWidget(close, 0, Qt::AlignTop);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    const auto goTo = [this](QListWidgetItem* item) {
        if (m_goTo && item != nullptr) {
            m_goTo(item->data(Qt::UserRole).value<std::size_t>());
        }
    };
    connect(m_rows, &QListWidget::itemClicked, this, goTo);
    connect(m_rows, &QListWidget::itemActivated, this, goTo);
    m_rows->setMaximumHeight(m_rows->fontMetrics().lineSpacing() * 6 + 8);
}

void FindingsPanel::Fill(LineFindings& findings, const std::vector<std::string>& lines, const std::string& file) {
    m_rows->clear();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        for (const LineFinding& finding : findings.At(lines, index)) {
            auto* row = new QListWidgetItem(ToQString(FormatFinding(file, static_cast<int>(index) + 1, finding)));
            row->setData(Qt::UserRole, QVariant::fromValue(index));
            m_rows->addItem(row);
        }
    }
    if (m_rows->count() == 0) {
        m_rows->addItem(tr("The check found nothing: no line would fail."));
    }
    show();
}

int FindingsPanel::Count() const {
    return m_rows->count() == 1 && !m_rows->item(0)->data(Qt::UserRole).isValid() ? 0 : m_rows->count();
}

} // namespace ordwell
