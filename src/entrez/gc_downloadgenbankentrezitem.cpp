#include "gc_downloadgenbankentrezitem.h"

#include <QLocale>
#include <QTreeWidget>

GC_DownloadGenbankEntrezItem::GC_DownloadGenbankEntrezItem() = default;

GC_DownloadGenbankEntrezItem::~GC_DownloadGenbankEntrezItem() = default;

void GC_DownloadGenbankEntrezItem::setSize(int value)
{
    size = value;
    sizeSet = true;
    setText(3, QLocale().toString(value));
    setTextAlignment(3, Qt::AlignRight);
}

int GC_DownloadGenbankEntrezItem::getSize() const
{
    if (sizeSet)
        return size;
    // Rows filled as plain text (search summaries, the Browse tab) still
    // sort by their number.
    QString digits = text(3);
    digits.remove(QLatin1Char(','));
    return digits.toInt();
}

bool GC_DownloadGenbankEntrezItem::operator<(const QTreeWidgetItem &other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (column == 3) {
        if (const auto *row = dynamic_cast<const GC_DownloadGenbankEntrezItem *>(&other))
            return getSize() < row->getSize();
    }
    return text(column).toLower() < other.text(column).toLower();
}
