#ifndef GC_COGTBLASTN_DIALOG_H
#define GC_COGTBLASTN_DIALOG_H

#include "gc_homologysearchdialog.h"

namespace Ui {
class GC_COGTblastn_dialog;
}

// Searches one genome for homologues of the COG reference proteins:
// makeblastdb formats the genome, tblastn runs the protein collection
// "cogprots80.fas" against it, and each kept hit becomes a COG matching on
// the genome's COG bar, with its COG, category and super-category from the
// COG collection. A hit spanning six times its protein's length in amino
// acids or more is refused. Saved hits replace the genome's earlier COG hits
// under the progress dialog "Removing current entries...".
class GC_COGTblastn_dialog : public GC_HomologySearchDialog
{
    Q_OBJECT

public:
    explicit GC_COGTblastn_dialog(QWidget *parent = nullptr);
    ~GC_COGTblastn_dialog() override;

    void setScene(GC_GenomeScene *scene) { storeGenomeScene(scene); }

    QString queryPath() const { return m_queryPath; }
    // The progress bar's maximum while tblastn runs.
    int progressMaximum() const { return m_progressMaximum; }

protected slots:
    void blaststep1() override;
    void blaststep2(bool ok);
    void blastFinished(bool ok);

protected:
    GC_GenomeSource::Family family() const override { return GC_GenomeSource::Cog; }
    void blastRunEnded(bool ok) override { blastFinished(ok); }
    void showSearchProgress(int referenceId) override;
    bool addHit(const GC_HomologyHitLine &hit, int low, int high) override;
    void clearPendingHits() override { m_lookups.clear(); }
    int replaceBarHits(const QList<GC_HomologyRowWriter::Row> &rows) override;
    bool applyPendingHits() override;

private:
    Ui::GC_COGTblastn_dialog *ui;
    QString m_makeblastdbPath;
    QString m_tblastnPath;
    QString m_queryPath;
    const int m_progressMaximum = 190000;

    // What was looked up for each hit set aside, in step with its row.
    struct Lookup
    {
        QString cogCode;
        QString groupCode;
        int classId;
    };
    QList<Lookup> m_lookups;
};

#endif
