#ifndef GC_COVERAGEWIDGETLISTITEM_H
#define GC_COVERAGEWIDGETLISTITEM_H

#include <QTreeWidgetItem>

class GC_Gene;

// One row of the coverage panel: a gene's name, first and last nucleotide.
// The gene is referred to, never owned. The two ends are copied when the gene
// is set, so sorting never reaches through the gene pointer: a row can be
// sorted (and shown) even after its gene is gone, until the panel drops it.
class GC_CoverageWidgetListItem : public QTreeWidgetItem
{
public:
    GC_CoverageWidgetListItem();
    ~GC_CoverageWidgetListItem() override;

    void setGene(GC_Gene *value);
    GC_Gene *getGene() const { return gene; }
    int geneFrom() const { return from; }
    int geneTo() const { return to; }

    // Numbers sort as numbers, names without regard to case.
    bool operator<(const QTreeWidgetItem &other) const override;

private:
    GC_Gene *gene = nullptr;
    int from = 0;
    int to = 0;
};

#endif
