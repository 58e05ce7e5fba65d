#include "gc_coveragewidget.h"
#include "ui_gc_coveragewidget.h"

#include "gc_coverageoptionsdialog.h"
#include "gc_coveragewidgetlistitem.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomescene.h"

#include <QHeaderView>

GC_CoverageWidget::GC_CoverageWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::GC_CoverageWidget)
{
    ui->setupUi(this);
    ui->treeWidget->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(ui->comboBox, &QComboBox::currentIndexChanged, this, &GC_CoverageWidget::calculate);
}

GC_CoverageWidget::~GC_CoverageWidget()
{
    delete ui;
}

int GC_CoverageWidget::getMode() const
{
    return ui->comboBox->currentIndex();
}

QList<GC_Gene *> GC_CoverageWidget::listedGenes() const
{
    QList<GC_Gene *> listed;
    listed.reserve(ui->treeWidget->topLevelItemCount());
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i)
        listed.append(static_cast<GC_CoverageWidgetListItem *>(ui->treeWidget->topLevelItem(i))->getGene());
    return listed;
}

void GC_CoverageWidget::reset()
{
    genome = nullptr;
    genomeInScene = false;
    genomeId = -1;
    ui->treeWidget->clear();
    // The count belonged to the genome: a closed document leaves no trace.
    ui->label->setText(tr("0 genes"));
    setEnabled(false);
}

void GC_CoverageWidget::forgetDocument()
{
    reset();
    excludedGenomes.clear();
}

void GC_CoverageWidget::followScene(GC_GenomeScene *scene)
{
    if (scene == genomeScene)
        return;
    if (genomeScene)
        disconnect(genomeScene, &GC_GenomeScene::coverageCalculateRequest, this,
                   &GC_CoverageWidget::calculate);
    genomeScene = scene;
    if (genomeScene)
        connect(genomeScene, &GC_GenomeScene::coverageCalculateRequest, this,
                &GC_CoverageWidget::calculate, Qt::UniqueConnection);
}

bool GC_CoverageWidget::genomeStillThere()
{
    if (!genome)
        return false;
    // A genome handed over outside any scene is trusted as it is.
    if (!genomeInScene)
        return true;
    // Only the pointer is compared until it is found listed: it may dangle.
    if (genomeScene && genomeScene->genomes().contains(genome) && genome->getId() == genomeId)
        return true;
    reset();
    return false;
}

bool GC_CoverageWidget::rowsStillValid() const
{
    const int count = ui->treeWidget->topLevelItemCount();
    if (count == 0)
        return true;
    const QList<GC_Gene *> &genes = genome->getGenes();
    const QSet<GC_Gene *> alive(genes.cbegin(), genes.cend());
    for (int i = 0; i < count; ++i) {
        auto *row = static_cast<GC_CoverageWidgetListItem *>(ui->treeWidget->topLevelItem(i));
        if (!alive.contains(row->getGene()))
            return false;
    }
    return true;
}

void GC_CoverageWidget::slotSetGenome(GC_Genome *value)
{
    if (value == genome && genomeStillThere())
        return;
    reset();
    genome = value;
    if (genome) {
        GC_GenomeScene *scene = genome->genomeScene();
        followScene(scene);
        genomeInScene = scene != nullptr;
        genomeId = genome->getId();
    }
    setEnabled(true);
    calculate();
}

void GC_CoverageWidget::slotBitScoreChanged(qreal value)
{
    bitScore = value;
    calculate();
}

void GC_CoverageWidget::calculate()
{
    if (!genome || !genomeStillThere())
        return;
    ui->treeWidget->clear();
    ui->treeWidget->setSortingEnabled(false);
    const QList<GC_CoverageWidgetListItem *> rows =
        genome->getCoveredGenes(excludedGenomes, bitScore, ui->comboBox->currentIndex());
    const qsizetype n = rows.size();
    ui->label->setText(n == 1 ? tr("1 matched gen") : tr("%1 matched genes").arg(n));
    QList<QTreeWidgetItem *> items;
    items.reserve(n);
    for (GC_CoverageWidgetListItem *row : rows)
        items.append(row);
    ui->treeWidget->addTopLevelItems(items);
    ui->treeWidget->setSortingEnabled(true);
}

void GC_CoverageWidget::on_buttonselectall_clicked()
{
    if (!genomeStillThere())
        return;
    if (!rowsStillValid())
        calculate();
    for (GC_Gene *gene : listedGenes())
        gene->setSelected(true);
}

void GC_CoverageWidget::on_treeWidget_itemActivated(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column);
    auto *row = dynamic_cast<GC_CoverageWidgetListItem *>(item);
    if (!row || !genomeStillThere())
        return;
    GC_Gene *gene = row->getGene();
    if (!genome->getGenes().contains(gene)) {
        // The row outlived its gene: the list is out of date.
        calculate();
        return;
    }
    gene->setSelected(true);
}

void GC_CoverageWidget::on_buttonoptions_clicked()
{
    // The dialog lists the genomes matched with this one: it must exist.
    genomeStillThere();
    GC_CoverageOptionsDialog dialog(this);
    dialog.setGenome(genome);
    dialog.setScore(bitScore);
    dialog.setMode(ui->comboBox->currentIndex());
    dialog.setExcludedGenomes(excludedGenomes);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bitScore = dialog.getScore();
    ui->comboBox->setCurrentIndex(dialog.getMode());
    excludedGenomes = dialog.getExcludedGenomes();
    emit bitScoreChanged(bitScore);
    calculate();
}
