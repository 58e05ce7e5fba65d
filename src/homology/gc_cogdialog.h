#ifndef GC_COGDIALOG_H
#define GC_COGDIALOG_H

#include "gc_homologygenomedialog.h"

namespace Ui {
class GC_CogDialog;
}

// Asks, for a genome of the canvas, whether to display its COG hits or to
// search for them (see GC_HomologyGenomeDialog).
class GC_CogDialog : public GC_HomologyGenomeDialog
{
    Q_OBJECT

public:
    explicit GC_CogDialog(QWidget *parent = nullptr);
    ~GC_CogDialog() override;

protected:
    int heldCount(const GC_Genome &genome) const override;
    int storedCount(const GC_Genome &genome) const override;
    QString countText() const override;

private:
    Ui::GC_CogDialog *ui;
};

#endif
