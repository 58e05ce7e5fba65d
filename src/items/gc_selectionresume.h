#ifndef GC_SELECTIONRESUME_H
#define GC_SELECTIONRESUME_H

#include <QList>

class QGraphicsItem;

// Counts the items of a selection by kind, so menus and the property panel
// can tell what a selection holds without walking it. A label counts for its
// owner unless the owner is selected too.
class GC_SelectionResume
{
public:
    GC_SelectionResume() = default;

    void countSelection(const QList<QGraphicsItem *> &items);

    int genomes() const { return m_genomes; }
    int matchings() const { return m_matchings; }
    int genes() const { return m_genes; }
    int rulers() const { return m_rulers; }
    int gcContentBars() const { return m_gcContentBars; }
    int freeTexts() const { return m_freeTexts; }
    int anotations() const { return m_anotations; }
    int cogHomologies() const { return m_cogHomologies; }
    int rfamHomologies() const { return m_rfamHomologies; }
    int rrnaHomologies() const { return m_rrnaHomologies; }
    int legends() const { return m_legends; }
    int total() const;

private:
    int m_genomes = 0;
    int m_matchings = 0;
    int m_genes = 0;
    int m_rulers = 0;
    int m_gcContentBars = 0;
    int m_freeTexts = 0;
    int m_anotations = 0;
    int m_cogHomologies = 0;
    int m_rfamHomologies = 0;
    int m_rrnaHomologies = 0;
    int m_legends = 0;
};

#endif
