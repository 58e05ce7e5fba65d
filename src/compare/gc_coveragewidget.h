#ifndef GC_COVERAGEWIDGET_H
#define GC_COVERAGEWIDGET_H

#include <QPointer>
#include <QSet>
#include <QWidget>

class GC_Gene;
class GC_Genome;
class GC_GenomeScene;
class QTreeWidgetItem;

namespace Ui {
class GC_CoverageWidget;
}

// The coverage panel: lists the genes of one genome that the matchings at or
// above a bit score cover (or leave uncovered), by the chosen mode, leaving
// out the matchings with the genomes the user deselected in the options.
//
// The rows refer to genes the panel does not own. The panel hears its
// genome's scene ask for a recomputation after genes are removed, and before
// it reaches through a row (selecting genes) or the genome (recomputing) it
// checks that they still exist, dropping the rows or the genome otherwise.
class GC_CoverageWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GC_CoverageWidget(QWidget *parent = nullptr);
    ~GC_CoverageWidget() override;

    // Forgets the genome, empties the list and its count and disables the
    // panel; the threshold, mode and left-out genomes stay.
    void reset();
    // A reset that forgets the left-out genomes too, for a document closed:
    // genome ids start again in every document, so they would name others.
    void forgetDocument();

    GC_Genome *getGenome() const { return genome; }
    double getBitScore() const { return bitScore; }
    QSet<int> getExcludedGenomes() const { return excludedGenomes; }
    int getMode() const;
    // The genes the rows refer to, in the order shown, as last computed.
    QList<GC_Gene *> listedGenes() const;

signals:
    void bitScoreChanged(qreal bitScore);

public slots:
    void slotSetGenome(GC_Genome *value);
    void slotBitScoreChanged(qreal value);
    void calculate();

private slots:
    void on_buttonselectall_clicked();
    void on_treeWidget_itemActivated(QTreeWidgetItem *item, int column);
    void on_buttonoptions_clicked();

private:
    // False (and the panel reset) when the genome has left its scene.
    bool genomeStillThere();
    // False when a row refers to a gene the genome no longer has.
    bool rowsStillValid() const;
    void followScene(GC_GenomeScene *scene);

    Ui::GC_CoverageWidget *ui;
    GC_Genome *genome = nullptr;
    double bitScore = 50.0;
    QSet<int> excludedGenomes;
    // The scene the genome was in when it was handed over, and its id then.
    QPointer<GC_GenomeScene> genomeScene;
    bool genomeInScene = false;
    int genomeId = -1;
};

#endif
