#include "gc_coveragewidgetlistitem.h"

#include "gc_gene.h"

#include <QLocale>
#include <QTreeWidget>

GC_CoverageWidgetListItem::GC_CoverageWidgetListItem()
    : QTreeWidgetItem(0)
{
    setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
}

GC_CoverageWidgetListItem::~GC_CoverageWidgetListItem() = default;

void GC_CoverageWidgetListItem::setGene(GC_Gene *value)
{
    gene = value;
    if (!gene) {
        from = to = 0;
        setText(0, QString());
        setText(1, QString());
        setText(2, QString());
        return;
    }
    const GC_Interval range = gene->getCoords();
    from = range.start();
    to = range.end();
    const QLocale locale;
    setText(0, gene->getName());
    setText(1, locale.toString(from));
    setText(2, locale.toString(to));
}

bool GC_CoverageWidgetListItem::operator<(const QTreeWidgetItem &other) const
{
    const auto *row = dynamic_cast<const GC_CoverageWidgetListItem *>(&other);
    const QTreeWidget *tree = treeWidget();
    if (!row || !tree)
        return QTreeWidgetItem::operator<(other);
    switch (tree->sortColumn()) {
    case 1:
        return from < row->from;
    case 2:
        return to < row->to;
    default:
        return text(0).toLower() < row->text(0).toLower();
    }
}
