#ifndef GC_DOWNLOADGENBANKENTREZITEM_H
#define GC_DOWNLOADGENBANKENTREZITEM_H

#include <QTreeWidgetItem>

// One row of the Entrez result list (GI, accession, definition, size). Sorts
// the text columns without regard to case and the size column by number.
class GC_DownloadGenbankEntrezItem : public QTreeWidgetItem
{
public:
    GC_DownloadGenbankEntrezItem();
    ~GC_DownloadGenbankEntrezItem() override;

    // Shows the size with the locale's grouping, right-aligned.
    void setSize(int value);
    // The size set, or else the number shown in column 3 (0 when none).
    int getSize() const;

    bool operator<(const QTreeWidgetItem &other) const override;

private:
    int size = 0;
    bool sizeSet = false;
};

#endif
