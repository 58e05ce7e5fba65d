#ifndef GC_RRNADIALOG_H
#define GC_RRNADIALOG_H

#include "gc_homologygenomedialog.h"

namespace Ui {
class GC_RRNADialog;
}

// Asks, for a genome of the canvas, whether to display its rRNA hits or to
// search for them (see GC_HomologyGenomeDialog).
class GC_RRNADialog : public GC_HomologyGenomeDialog
{
    Q_OBJECT

public:
    explicit GC_RRNADialog(QWidget *parent = nullptr);
    ~GC_RRNADialog() override;

protected:
    int heldCount(const GC_Genome &genome) const override;
    int storedCount(const GC_Genome &genome) const override;
    QString countText() const override;

private:
    Ui::GC_RRNADialog *ui;
};

#endif
