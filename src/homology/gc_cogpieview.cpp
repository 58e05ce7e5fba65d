#include "gc_cogpieview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRubberBand>
#include <QScrollBar>
#include <QStyleOptionViewItem>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

} // namespace

GC_CogPieView::GC_CogPieView(QWidget *parent)
    : QAbstractItemView(parent)
{
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);

    margin = 8;
    totalSize = 300;
    pieSize = totalSize - 2 * margin;
    validItems = 0;
    totalValue = 0.0;
    origin = QPoint(0, 0);
    rubberBand = nullptr;
}

GC_CogPieView::~GC_CogPieView() = default;

// ---------------------------------------------------------------- model reading

double GC_CogPieView::rowValue(int row) const
{
    if (!model())
        return 0.0;
    const QModelIndex index = model()->index(row, 1, rootIndex());
    const double value = model()->data(index).toDouble();
    return std::isnan(value) ? 0.0 : value;
}

QColor GC_CogPieView::rowColor(int row) const
{
    const QVariant decoration =
        model()->data(model()->index(row, 0, rootIndex()), Qt::DecorationRole);
    if (decoration.metaType().id() == QMetaType::QColor)
        return decoration.value<QColor>();
    return QColor(decoration.toString());
}

int GC_CogPieView::lineHeight() const
{
    QStyleOptionViewItem options;
    initViewItemOption(&options);
    return std::max(1, QFontMetrics(options.font).height());
}

int GC_CogPieView::rows(const QModelIndex &index) const
{
    return model() ? model()->rowCount(index.parent()) : 0;
}

void GC_CogPieView::recount()
{
    validItems = 0;
    totalValue = 0.0;
    if (!model())
        return;
    const int count = model()->rowCount(rootIndex());
    for (int row = 0; row < count; ++row) {
        const double value = rowValue(row);
        if (value > 0.0) {
            totalValue += value;
            ++validItems;
        }
    }
}

// ---------------------------------------------------------------- model notifications

void GC_CogPieView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                const QList<int> &roles)
{
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    // Whatever the range, the totals are taken again from every row.
    recount();
    viewport()->update();
}

void GC_CogPieView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    for (int row = start; row <= end; ++row) {
        const double value = rowValue(row);
        if (value > 0.0) {
            totalValue += value;
            ++validItems;
        }
    }
    QAbstractItemView::rowsInserted(parent, start, end);
}

void GC_CogPieView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    for (int row = start; row <= end; ++row) {
        const double value = rowValue(row);
        if (value > 0.0) {
            totalValue -= value;
            --validItems;
        }
    }
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

// ---------------------------------------------------------------- geometry

QRect GC_CogPieView::itemRect(const QModelIndex &index) const
{
    if (!index.isValid() || !model())
        return QRect();
    const QModelIndex valueIndex =
        index.column() == 1 ? index : model()->index(index.row(), 1, index.parent());
    if (!(model()->data(valueIndex).toDouble() > 0.0))
        return QRect();

    int validRowsAbove = 0;
    for (int row = index.row() - 1; row >= 0; --row) {
        if (model()->data(model()->index(row, 1, index.parent())).toDouble() > 0.0)
            ++validRowsAbove;
    }

    switch (index.column()) {
    case 0: {
        const int h = lineHeight();
        return QRect(totalSize, margin + validRowsAbove * h, totalSize - margin, h);
    }
    case 1:
        return viewport()->rect();
    default:
        return QRect();
    }
}

QRegion GC_CogPieView::itemRegion(const QModelIndex &index) const
{
    if (!index.isValid() || !model())
        return QRegion();
    if (index.column() != 1)
        return QRegion(itemRect(index));
    if (!(model()->data(index).toDouble() > 0.0))
        return QRegion();

    double startAngle = 0.0;
    const int count = model()->rowCount(rootIndex());
    for (int row = 0; row < count; ++row) {
        const QModelIndex valueIndex = model()->index(row, 1, rootIndex());
        const double value = model()->data(valueIndex).toDouble();
        if (!(value > 0.0))
            continue;
        const double angle = 360.0 * value / totalValue;
        if (valueIndex == index) {
            QPainterPath slice;
            slice.moveTo(totalSize / 2, totalSize / 2);
            slice.arcTo(margin, margin, pieSize, pieSize, startAngle, angle);
            slice.closeSubpath();
            return QRegion(slice.toFillPolygon().toPolygon());
        }
        startAngle += angle;
    }
    return QRegion();
}

QRect GC_CogPieView::visualRect(const QModelIndex &index) const
{
    const QRect rect = itemRect(index);
    if (!rect.isValid())
        return rect;
    return rect.translated(-horizontalOffset(), -verticalOffset());
}

QModelIndex GC_CogPieView::indexAt(const QPoint &point) const
{
    if (validItems == 0 || !model())
        return QModelIndex();

    const int wx = point.x() + horizontalOffset();
    const int wy = point.y() + verticalOffset();
    const int count = model()->rowCount(rootIndex());

    if (wx < totalSize) {
        const int cx = wx - totalSize / 2;
        const int cy = totalSize / 2 - wy;
        const double d = std::sqrt(double(cx) * cx + double(cy) * cy);
        if (d == 0.0 || d > pieSize / 2)
            return QModelIndex();

        double angle = std::acos(cx / d) * 180.0 / Pi;
        if (cy < 0)
            angle = 360.0 - angle;

        double startAngle = 0.0;
        for (int row = 0; row < count; ++row) {
            const double value = rowValue(row);
            if (!(value > 0.0))
                continue;
            const double sliceAngle = 360.0 * value / totalValue;
            if (angle >= startAngle && angle < startAngle + sliceAngle)
                return model()->index(row, 1, rootIndex());
            startAngle += sliceAngle;
        }
        return QModelIndex();
    }

    // Key side: the entry on that line, whatever the x. Truncation toward
    // zero lets the line just above the first entry hit it too.
    const int entry = (wy - margin) / lineHeight();
    if (entry < 0)
        return QModelIndex();
    int validRow = 0;
    for (int row = 0; row < count; ++row) {
        if (!(rowValue(row) > 0.0))
            continue;
        if (validRow == entry)
            return model()->index(row, 0, rootIndex());
        ++validRow;
    }
    return QModelIndex();
}

bool GC_CogPieView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

int GC_CogPieView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int GC_CogPieView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

// ---------------------------------------------------------------- scrolling

void GC_CogPieView::updateGeometries()
{
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, 2 * totalSize - viewport()->width()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, totalSize - viewport()->height()));
}

void GC_CogPieView::resizeEvent(QResizeEvent *)
{
    updateGeometries();
}

void GC_CogPieView::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy);
}

void GC_CogPieView::scrollTo(const QModelIndex &index, ScrollHint)
{
    const QRect area = viewport()->rect();
    const QRect rect = visualRect(index);

    if (rect.left() < area.left()) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + rect.left() - area.left());
    } else if (rect.right() > area.right()) {
        horizontalScrollBar()->setValue(
            horizontalScrollBar()->value()
            + std::min(rect.right() - area.right(), rect.left() - area.left()));
    }

    if (rect.top() < area.top()) {
        verticalScrollBar()->setValue(verticalScrollBar()->value() + rect.top() - area.top());
    } else if (rect.bottom() > area.bottom()) {
        verticalScrollBar()->setValue(
            verticalScrollBar()->value()
            + std::min(rect.bottom() - area.bottom(), rect.top() - area.top()));
    }
    viewport()->update();
}

// ---------------------------------------------------------------- selection

void GC_CogPieView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    if (!model() || !selectionModel())
        return;
    const QRect contentsRect =
        rect.translated(horizontalOffset(), verticalOffset()).normalized();

    const int rowCount = model()->rowCount(rootIndex());
    const int columnCount = model()->columnCount(rootIndex());
    int firstRow = rowCount;
    int lastRow = -1;
    int firstColumn = columnCount;
    int lastColumn = -1;
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < columnCount; ++column) {
            const QModelIndex index = model()->index(row, column, rootIndex());
            if (!itemRegion(index).intersects(contentsRect))
                continue;
            firstRow = std::min(firstRow, row);
            lastRow = std::max(lastRow, row);
            firstColumn = std::min(firstColumn, column);
            lastColumn = std::max(lastColumn, column);
        }
    }

    if (lastRow >= 0) {
        const QItemSelection selection(model()->index(firstRow, firstColumn, rootIndex()),
                                       model()->index(lastRow, lastColumn, rootIndex()));
        selectionModel()->select(selection, command);
    } else {
        // Nothing under the rectangle: a clearing command still clears.
        const QModelIndex noIndex;
        selectionModel()->select(QItemSelection(noIndex, noIndex), command);
    }
    viewport()->update();
}

QRegion GC_CogPieView::visualRegionForSelection(const QItemSelection &selection) const
{
    if (selection.isEmpty())
        return QRegion(QRect());
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            for (int column = range.left(); column <= range.right(); ++column)
                region += visualRect(model()->index(row, column, rootIndex()));
        }
    }
    return region;
}

// ---------------------------------------------------------------- interaction

QModelIndex GC_CogPieView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    QModelIndex current = currentIndex();
    if (model()) {
        switch (cursorAction) {
        case MoveLeft:
        case MoveUp:
            current = model()->index(current.row() > 0 ? current.row() - 1 : 0, current.column(),
                                     current.parent());
            break;
        case MoveRight:
        case MoveDown: {
            const int last = rows(current) - 1;
            current = model()->index(current.row() < last ? current.row() + 1 : last,
                                     current.column(), current.parent());
            break;
        }
        default:
            break;
        }
    }
    viewport()->update();
    return current;
}

bool GC_CogPieView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Only the key text is editable; slices open no editor.
    if (index.column() == 0)
        return QAbstractItemView::edit(index, trigger, event);
    return false;
}

void GC_CogPieView::mousePressEvent(QMouseEvent *event)
{
    QAbstractItemView::mousePressEvent(event);
    origin = event->position().toPoint();
    if (!rubberBand)
        rubberBand = new QRubberBand(QRubberBand::Rectangle, this);
    rubberBand->setGeometry(QRect(origin, QSize()));
    rubberBand->show();
}

void GC_CogPieView::mouseMoveEvent(QMouseEvent *event)
{
    if (rubberBand)
        rubberBand->setGeometry(QRect(origin, event->position().toPoint()).normalized());
    QAbstractItemView::mouseMoveEvent(event);
}

void GC_CogPieView::mouseReleaseEvent(QMouseEvent *event)
{
    QAbstractItemView::mouseReleaseEvent(event);
    if (rubberBand)
        rubberBand->hide();
    viewport()->update();
}

// ---------------------------------------------------------------- painting

void GC_CogPieView::paintEvent(QPaintEvent *event)
{
    QItemSelectionModel *selections = selectionModel();
    QStyleOptionViewItem options;
    initViewItemOption(&options);

    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(event->rect(), options.palette.base());
    painter.setPen(options.palette.color(QPalette::WindowText));

    if (validItems <= 0 || !model())
        return;

    painter.save();
    painter.translate(margin - horizontalOffset(), margin - verticalOffset());
    painter.drawEllipse(0, 0, pieSize, pieSize);

    const int count = model()->rowCount(rootIndex());
    double startAngle = 0.0;
    for (int row = 0; row < count; ++row) {
        const QModelIndex valueIndex = model()->index(row, 1, rootIndex());
        const double value = rowValue(row);
        if (!(value > 0.0))
            continue;
        const double angle = 360.0 * value / totalValue;
        const QColor color = rowColor(row);
        if (currentIndex() == valueIndex)
            painter.setBrush(QBrush(color, Qt::Dense4Pattern));
        else if (selections && selections->isSelected(valueIndex))
            painter.setBrush(QBrush(color, Qt::Dense3Pattern));
        else
            painter.setBrush(QBrush(color));
        painter.drawPie(0, 0, pieSize, pieSize, int(startAngle * 16), int(angle * 16));
        startAngle += angle;
    }
    painter.restore();

    for (int row = 0; row < count; ++row) {
        if (!(rowValue(row) > 0.0))
            continue;
        const QModelIndex labelIndex = model()->index(row, 0, rootIndex());
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(labelIndex);
        if (selections && selections->isSelected(labelIndex))
            option.state |= QStyle::State_Selected;
        if (currentIndex() == labelIndex)
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(labelIndex)->paint(&painter, option, labelIndex);
    }
}
