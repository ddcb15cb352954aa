#include "LineListModel.h"

#include <QApplication>
#include <QStyle>

#include "QtText.h"

namespace ordwell {

LineListModel::LineListModel(LineEditor& editor, QObject* parent) : QAbstractListModel(parent), m_editor(editor) {
    m_editor.SetObserver(this);
}

LineListModel::~LineListModel() {
    m_editor.SetObserver(nullptr);
}

int LineListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_editor.Count());
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const auto row = static_cast<size_t>(index.row());
    const std::vector<std::string>& lines = m_editor.Lines();
    if (role == Qt::DisplayRole) {
        return ToQString(lines[row]);
    }
    if (role == Qt::ToolTipRole) {
        // A long line shows whole in its tooltip, above what the check found.
        const std::string findings = m_editor.Findings().Text(lines, row);
        const std::string whole = lines[row].size() < 80 ? std::string() : lines[row];
        if (findings.empty() && whole.empty()) {
            return {};
        }
        return ToQString(whole + (whole.empty() || findings.empty() ? "" : "\n") + findings);
    }
    if (role == Qt::AccessibleDescriptionRole) {
        return ToQString(m_editor.Findings().Text(lines, row));
    }
    if (role == Qt::DecorationRole) {
        // A line that fails, or surely goes wrong, is marked by an icon; its
        // tooltip and the help box say why.
        const std::optional<FindingLevel> worst = m_editor.Findings().Worst(lines, row);
        if (!worst || *worst == FindingLevel::Note) {
            return {};
        }
        return QApplication::style()->standardIcon(*worst == FindingLevel::Error ? QStyle::SP_MessageBoxCritical
                                                                                 : QStyle::SP_MessageBoxWarning);
    }
    return {};
}

void LineListModel::BeforeInsert(std::size_t index) {
    beginInsertRows({}, static_cast<int>(index), static_cast<int>(index));
}

void LineListModel::AfterInsert() {
    endInsertRows();
    FindingsChanged();
}

void LineListModel::BeforeRemove(std::size_t index) {
    beginRemoveRows({}, static_cast<int>(index), static_cast<int>(index));
}

void LineListModel::AfterRemove() {
    endRemoveRows();
    FindingsChanged();
}

void LineListModel::Changed(std::size_t index) {
    const QModelIndex changed = this->index(static_cast<int>(index));
    emit dataChanged(changed, changed);
    FindingsChanged();
}

void LineListModel::FindingsChanged() {
    // A change of one line can change what the check finds in any other (a
    // label that GoTo names).
    if (rowCount() > 0) {
        emit dataChanged(index(0), index(rowCount() - 1),
                         {Qt::DecorationRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
    }
}

void LineListModel::BeforeReset() {
    beginResetModel();
}

void LineListModel::AfterReset() {
    endResetModel();
}

} // namespace ordwell
