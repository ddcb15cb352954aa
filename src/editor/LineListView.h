#pragma once

#include <QListView>

namespace ordwell {

// The list of a macro's lines with their numbers beside it (from 1, the
// numbers a run reports) and a mark at the line a run is on. Lines are not
// cut short: a long one scrolls sideways.
class LineListView final : public QListView {
    Q_OBJECT
public:
    explicit LineListView(QWidget* parent);

    // The row a run is on, marked beside its number; -1 for none.
    void SetRunningRow(int row);
    int RunningRow() const { return m_runningRow; }
    // The width of the numbers beside the list, for the widest number.
    int GutterWidth() const;
    // The text of the longest line: every row is as wide as it, so the list
    // scrolls sideways as far as that line goes. (Rows are of one size, so
    // that a list of many thousand lines is laid out at once.)
    void SetWidestText(const QString& text);
    int RowWidth() const { return m_rowWidth; }
    void setModel(QAbstractItemModel* model) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class LineNumberGutter;
    void PaintGutter(QPaintEvent* event);
    void UpdateGutter();

    QWidget* m_gutter;
    int m_runningRow = -1;
    int m_rowWidth = 0;
};

} // namespace ordwell
