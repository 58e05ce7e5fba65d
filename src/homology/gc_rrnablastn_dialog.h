#ifndef GC_RRNABLASTN_DIALOG_H
#define GC_RRNABLASTN_DIALOG_H

#include "gc_homologysearchdialog.h"

namespace Ui {
class GC_RRNABlastn_dialog;
}

// Searches one genome for ribosomal RNA genes: blastn (dc-megablast) runs
// the genome against the preformatted Silva large-subunit database, then
// against the small-subunit one; both outputs go into one result file, and
// each kept hit becomes an rRNA matching on the genome's rRNA bar. One
// coverage serves both runs, so a small-subunit hit under large-subunit
// hits is dropped. A hit spanning twice its reference sequence's length or
// more is refused. The databases are copied into the work folder (blastn
// cannot take a database path with spaces) and the copies are kept for
// later searches. Saved hits replace the genome's earlier rRNA hits.
class GC_RRNABlastn_dialog : public GC_HomologySearchDialog
{
    Q_OBJECT

public:
    explicit GC_RRNABlastn_dialog(QWidget *parent = nullptr);
    ~GC_RRNABlastn_dialog() override;

    void setGenomeScene(GC_GenomeScene *scene) { storeGenomeScene(scene); }

    static QStringList databaseExtensions();

protected slots:
    void blaststep1() override;
    void blaststep2(bool ok);
    void blastFinished(bool ok);

protected:
    GC_GenomeSource::Family family() const override { return GC_GenomeSource::Rrna; }
    void blastRunEnded(bool ok) override;
    bool addHit(const GC_HomologyHitLine &hit, int low, int high) override;
    void clearPendingHits() override { m_groupIds.clear(); }
    int replaceBarHits(const QList<GC_HomologyRowWriter::Row> &rows) override;

private:
    bool prepareDatabase(const QString &name);
    void startRun(const QString &database, const char *logText);

    Ui::GC_RRNABlastn_dialog *ui;
    QString m_blastnPath;
    QString m_lsuDatabase;
    QString m_ssuDatabase;
    bool m_secondRun = false;

    // The rRNA group looked up for each hit set aside, in step with its row.
    QList<int> m_groupIds;
};

#endif
