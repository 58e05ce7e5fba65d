#ifndef GC_RFAMSHOWMATCHINGS_DIALOG_H
#define GC_RFAMSHOWMATCHINGS_DIALOG_H

#include "gc_homologyshowdialog.h"

namespace Ui {
class GC_RfamShowMatchings_dialog;
}

// Offers to load a genome's RFAM hits stored in its source file
// (rfam_matchings) into its RFAM bar (see GC_HomologyShowDialog).
class GC_RfamShowMatchings_dialog : public GC_HomologyShowDialog
{
    Q_OBJECT

public:
    explicit GC_RfamShowMatchings_dialog(QWidget *parent = nullptr);
    ~GC_RfamShowMatchings_dialog() override;

    void setScene(GC_GenomeScene *scene) { keepScene(scene); }

protected:
    int storedCount(const GC_Genome &genome) const override;
    bool addStoredHit(GC_Genome &genome, int start, int end, int referenceId, double evalue,
                      double bitscore) override;

private:
    Ui::GC_RfamShowMatchings_dialog *ui;
};

#endif
