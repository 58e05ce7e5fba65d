#ifndef GC_RRNASHOWMATCHINGS_DIALOG_H
#define GC_RRNASHOWMATCHINGS_DIALOG_H

#include "gc_homologyshowdialog.h"

namespace Ui {
class GC_rRNAShowMatchings_dialog;
}

// Offers to load a genome's rRNA hits stored in its source file
// (rrna_matchings) into its rRNA bar (see GC_HomologyShowDialog).
class GC_rRNAShowMatchings_dialog : public GC_HomologyShowDialog
{
    Q_OBJECT

public:
    explicit GC_rRNAShowMatchings_dialog(QWidget *parent = nullptr);
    ~GC_rRNAShowMatchings_dialog() override;

    void setGenomeScene(GC_GenomeScene *scene) { keepScene(scene); }

protected:
    int storedCount(const GC_Genome &genome) const override;
    bool addStoredHit(GC_Genome &genome, int start, int end, int referenceId, double evalue,
                      double bitscore) override;

private:
    Ui::GC_rRNAShowMatchings_dialog *ui;
};

#endif
