#ifndef GC_COGSHOWMATCHINGS_DIALOG_H
#define GC_COGSHOWMATCHINGS_DIALOG_H

#include "gc_homologyshowdialog.h"

namespace Ui {
class GC_CogShowMatchings_dialog;
}

// Offers to load a genome's COG hits stored in its source file
// (cog_matchings) into its COG bar (see GC_HomologyShowDialog).
class GC_CogShowMatchings_dialog : public GC_HomologyShowDialog
{
    Q_OBJECT

public:
    explicit GC_CogShowMatchings_dialog(QWidget *parent = nullptr);
    ~GC_CogShowMatchings_dialog() override;

    void setScene(GC_GenomeScene *scene) { keepScene(scene); }

protected:
    int storedCount(const GC_Genome &genome) const override;
    bool addStoredHit(GC_Genome &genome, int start, int end, int referenceId, double evalue,
                      double bitscore) override;

private:
    Ui::GC_CogShowMatchings_dialog *ui;
};

#endif
