#ifndef GC_BLASTOPTIONSDIALOG_H
#define GC_BLASTOPTIONSDIALOG_H

#include "gc_blastoptions.h"

#include <QDialog>

namespace Ui {
class GC_BlastOptionsDialog;
}

// Shows a BLAST options record and gives back the one built from its boxes.
// Run it modally and read options() only when it was accepted; the caller's
// record is never written. The task comes back as the algorithm box shows
// it ("BlastN" or "MegaBlast").
class GC_BlastOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GC_BlastOptionsDialog(QWidget *parent = nullptr);
    ~GC_BlastOptionsDialog() override;

    // The five numbers, each clamped to its box's range; the algorithm box
    // keeps its current item.
    void setOptions(const GC_BlastOptions &options);
    GC_BlastOptions options() const;

private:
    Ui::GC_BlastOptionsDialog *ui;
};

#endif
