#include "LineListModel.h"

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
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const std::string& line = m_editor.Lines()[static_cast<size_t>(index.row())];
        // A long line shows whole in its tooltip.
        if (role == Qt::ToolTipRole && line.size() < 80) {
            return {};
        }
        return ToQString(line);
    }
    return {};
}

void LineListModel::BeforeInsert(std::size_t index) {
    beginInsertRows({}, static_cast<int>(index), static_cast<int>(index));
}

void LineListModel::AfterInsert() {
    endInsertRows();
}

void LineListModel::BeforeRemove(std::size_t index) {
    beginRemoveRows({}, static_cast<int>(index), static_cast<int>(index));
}

void LineListModel::AfterRemove() {
    endRemoveRows();
}

void LineListModel::Changed(std::size_t index) {
    const QModelIndex changed = this->index(static_cast<int>(index));
    emit dataChanged(changed, changed);
}

void LineListModel::BeforeReset() {
    beginResetModel();
}

void LineListModel::AfterReset() {
    endResetModel();
}

} // namespace ordwell
