#ifndef GC_RFAMBLASTN_DIALOG_H
#define GC_RFAMBLASTN_DIALOG_H

#include "gc_homologysearchdialog.h"

namespace Ui {
class GC_RFAMBlastn_dialog;
}

// Searches one genome for members of the RFAM RNA families: makeblastdb
// formats the genome, blastn runs the family sequences "rfams.fas" against
// it with the task the user picks (megablast unless another is chosen), and
// each kept hit becomes an RFAM matching on the genome's RFAM bar. A hit
// spanning twice its reference sequence's length or more is refused.
// Saved hits replace the genome's earlier RFAM hits.
class GC_RFAMBlastn_dialog : public GC_HomologySearchDialog
{
    Q_OBJECT

public:
    explicit GC_RFAMBlastn_dialog(QWidget *parent = nullptr);
    ~GC_RFAMBlastn_dialog() override;

    void setScene(GC_GenomeScene *scene) { storeGenomeScene(scene); }

    QString queryPath() const { return m_queryPath; }
    QString task() const { return m_task; }
    // The progress bar's maximum while blastn runs: the largest sequence id.
    int progressMaximum() const { return m_progressMaximum; }

protected slots:
    void on_blastCombobox_textActivated(const QString &text);
    void blaststep1() override;
    void blaststep2(bool ok);
    void blastFinished(bool ok);

protected:
    GC_GenomeSource::Family family() const override { return GC_GenomeSource::Rfam; }
    void blastRunEnded(bool ok) override { blastFinished(ok); }
    void showSearchProgress(int referenceId) override;
    bool addHit(const GC_HomologyHitLine &hit, int low, int high) override;
    void clearPendingHits() override { m_rfamCodes.clear(); }
    int replaceBarHits(const QList<GC_HomologyRowWriter::Row> &rows) override;

private:
    void setTask(const QString &task);

    Ui::GC_RFAMBlastn_dialog *ui;
    QString m_makeblastdbPath;
    QString m_blastnPath;
    QString m_queryPath;
    QString m_task;
    int m_progressMaximum = 0;

    // The RFAM family looked up for each hit set aside, in step with its row.
    QStringList m_rfamCodes;
};

#endif
