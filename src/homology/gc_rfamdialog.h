#ifndef GC_RFAMDIALOG_H
#define GC_RFAMDIALOG_H

#include "gc_homologygenomedialog.h"

namespace Ui {
class GC_RfamDialog;
}

// Asks, for a genome of the canvas, whether to display its RFAM hits or to
// search for them (see GC_HomologyGenomeDialog).
class GC_RfamDialog : public GC_HomologyGenomeDialog
{
    Q_OBJECT

public:
    explicit GC_RfamDialog(QWidget *parent = nullptr);
    ~GC_RfamDialog() override;

protected:
    int heldCount(const GC_Genome &genome) const override;
    int storedCount(const GC_Genome &genome) const override;
    QString countText() const override;

private:
    Ui::GC_RfamDialog *ui;
};

#endif
