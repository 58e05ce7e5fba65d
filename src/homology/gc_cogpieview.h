#ifndef GC_COGPIEVIEW_H
#define GC_COGPIEVIEW_H

#include <QAbstractItemView>
#include <QPoint>
#include <QRect>
#include <QRegion>

class QRubberBand;

// Shows a flat table model as a pie chart with a key beside it: one slice
// and one key entry per row whose value (column 1) is positive; column 0
// gives the key text and, as its decoration, the slice colour. Slices are
// hit and selected through the value cell, key entries through the label
// cell. The content is a fixed 600 x 300 area: the pie on the left, the key
// on the right. Only the count and the sum of the positive values are kept;
// they follow row insertions, removals and data changes (not a model reset).
class GC_CogPieView : public QAbstractItemView
{
    Q_OBJECT

public:
    explicit GC_CogPieView(QWidget *parent = nullptr);
    ~GC_CogPieView() override;

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;

    int validItemCount() const { return validItems; }
    double totalItemValue() const { return totalValue; }

protected slots:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;

    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    // The value of a row's column-1 cell under the root (0 when not numeric).
    double rowValue(int row) const;
    QColor rowColor(int row) const;
    int lineHeight() const;
    void recount();

    int rows(const QModelIndex &index = QModelIndex()) const;
    QRect itemRect(const QModelIndex &index) const;
    QRegion itemRegion(const QModelIndex &index) const;

    int margin;
    int totalSize;
    int pieSize;
    int validItems;
    double totalValue;
    QPoint origin;
    QRubberBand *rubberBand;
};

#endif
