#ifndef GC_COVERAGEOPTIONSDIALOG_H
#define GC_COVERAGEOPTIONSDIALOG_H

#include <QDialog>
#include <QSet>

class GC_Genome;
class QCloseEvent;
class QListWidget;

namespace Ui {
class GC_CoverageOptionsDialog;
}

// Edits the coverage panel's inputs: the bit-score cutoff, the mode and
// which genomes matched with the analysed one take part. Made for one run:
// set up through the setters, run modally, read when accepted.
class GC_CoverageOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GC_CoverageOptionsDialog(QWidget *parent = nullptr);
    ~GC_CoverageOptionsDialog() override;

    void setGenome(GC_Genome *value) { genome = value; }
    void setScore(double score);
    void setMode(int mode);
    // Lists the genomes matched with the genome (set it first): those in
    // excluded on the left-out side, the others on the counted side.
    void setExcludedGenomes(const QSet<int> &excluded);

    double getScore() const;
    int getMode() const;
    QSet<int> getExcludedGenomes() const;

    static QString geometryKey() { return QStringLiteral("coverageoptions_dialog_geometry"); }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_buttonadd_clicked();
    void on_buttonremove_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_clicked();
    // "Add All": every left-out genome counts again.
    void includeAllGenomes();

private:
    static void moveSelectedRows(QListWidget *from, QListWidget *to);

    Ui::GC_CoverageOptionsDialog *ui;
    GC_Genome *genome = nullptr;
};

#endif
