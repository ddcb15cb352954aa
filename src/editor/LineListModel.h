#pragma once

#include <QAbstractListModel>

#include "LineEditor.h"

namespace ordwell {

// The macro's lines as a list the view shows, following every change of the
// line editor as it happens.
class LineListModel final : public QAbstractListModel, private LineObserver {
    Q_OBJECT
public:
    LineListModel(LineEditor& editor, QObject* parent);
    ~LineListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void BeforeInsert(std::size_t index) override;
    void AfterInsert() override;
    void BeforeRemove(std::size_t index) override;
    void AfterRemove() override;
    void Changed(std::size_t index) override;
    void BeforeReset() override;
    void AfterReset() override;
    void FindingsChanged();

    LineEditor& m_editor;
};

} // namespace ordwell
