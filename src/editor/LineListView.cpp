#include "LineListView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

namespace ordwell {

// The strip beside the list that shows the line numbers; the list paints it.
class LineNumberGutter final : public QWidget {
public:
    explicit LineNumberGutter(LineListView& list) : QWidget(&list), m_list(list) {}

protected:
    void paintEvent(QPaintEvent* event) override { m_list.PaintGutter(event); }

private:
    LineListView& m_list;
};

namespace {

// Rows as wide as the widest line of the list.
class WideRows final : public QStyledItemDelegate {
public:
    explicit WideRows(LineListView& list) : QStyledItemDelegate(&list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(std::max(size.width(), m_list.RowWidth()), size.height());
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (index.row() == m_list.RunningRow()) {
            // The line a run is on is tinted across the list, too.
            painter->fillRect(option.rect, option.palette.color(QPalette::Highlight).lighter(170));
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    LineListView& m_list;
};

} // namespace

LineListView::LineListView(QWidget* parent) : QListView(parent), m_gutter(new LineNumberGutter(*this)) {
    m_gutter->setObjectName("lineNumbers");
    setItemDelegate(new WideRows(*this));
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    UpdateGutter();
}

void LineListView::setModel(QAbstractItemModel* model) {
    QListView::setModel(model);
    // The widest number changes with the number of lines.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(model, signal, this, &LineListView::UpdateGutter);
    }
    connect(model, &QAbstractItemModel::modelReset, this, &LineListView::UpdateGutter);
    UpdateGutter();
}

int LineListView::GutterWidth() const {
    const int rows = model() != nullptr ? model()->rowCount() : 0;
    int digits = 1;
    for (int n = std::max(rows, 1); n >= 10; n /= 10) {
        ++digits;
    }
    // Room for the run's mark before the number and a little after it.
    const QFontMetrics metrics(font());
    return metrics.horizontalAdvance(QLatin1Char('9')) * (digits + 2) + 6;
}

void LineListView::UpdateGutter() {
    const int width = GutterWidth();
    if (viewportMargins().left() != width) {
        setViewportMargins(width, 0, 0, 0);
    }
    const QRect area = contentsRect();
    m_gutter->setGeometry(area.left(), area.top(), width, area.height());
    m_gutter->update();
}

void LineListView::SetWidestText(const QString& text) {
    // Room for the icon of a line the check marks, and the margins.
    const int width = fontMetrics().horizontalAdvance(text) + iconSize().width() +
                      4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 24;
    if (width != m_rowWidth) {
        m_rowWidth = width;
        scheduleDelayedItemsLayout();
    }
}

void LineListView::SetRunningRow(int row) {
    if (row == m_runningRow) {
        return;
    }
    m_runningRow = row;
    m_gutter->update();
    viewport()->update();
}

void LineListView::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    UpdateGutter();
}

void LineListView::scrollContentsBy(int dx, int dy) {
    QListView::scrollContentsBy(dx, dy);
    if (dy != 0) {
        m_gutter->update();
    }
}

void LineListView::PaintGutter(QPaintEvent* event) {
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    if (model() == nullptr) {
        return;
    }
    painter.setFont(font());
    const int right = m_gutter->width() - 4;
    const int viewportTop = viewport()->y() - m_gutter->y();
    QModelIndex index = indexAt(QPoint(viewport()->width() / 2, 0));
    if (!index.isValid()) {
        index = indexAt(QPoint(1, 1));
    }
    while (index.isValid()) {
        const QRect item = visualRect(index);
        if (item.top() > viewport()->height()) {
            break;
        }
        const QRect row(0, viewportTop + item.top(), m_gutter->width(), item.height());
        if (index.row() == m_runningRow) {
            painter.fillRect(row, palette().color(QPalette::Highlight).lighter(150));
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(row.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("\u25B6"));
        }
        painter.setPen(palette().color(index.row() == m_runningRow ? QPalette::Text : QPalette::PlaceholderText));
        painter.drawText(QRect(0, row.top(), right, row.height()), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(index.row() + 1));
        index = index.siblingAtRow(index.row() + 1);
    }
}

} // namespace ordwell
