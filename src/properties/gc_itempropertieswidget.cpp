#include "gc_itempropertieswidget.h"
#include "gc_log.h"
#include "ui_gc_itempropertieswidget.h"

#include "gc_anotationproperties.h"
#include "gc_cogbarproperties.h"
#include "gc_freetextproperties.h"
#include "gc_gccontentbarproperties.h"
#include "gc_geneproperties.h"
#include "gc_genomeproperties.h"
#include "gc_genomescene.h"
#include "gc_itemtypes.h"
#include "gc_legendproperties.h"
#include "gc_matchingproperties.h"
#include "gc_rfambarproperties.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnabarproperties.h"
#include "gc_rulerproperties.h"
#include "gc_selectionresume.h"

#include "gc_anotation.h"
#include "gc_coghomologies.h"
#include "gc_freetext.h"
#include "gc_gccontentbar.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_legend.h"
#include "gc_rrnahomologies.h"
#include "gc_ruler.h"

#include <QMessageBox>

namespace {

std::unique_ptr<GC_PropertySet> propertiesFor(QGraphicsItem *item)
{
    switch (item->type()) {
    case ITEMTYPE_GENOME:
        return std::make_unique<GC_GenomeProperties>(static_cast<GC_Genome *>(item));
    case ITEMTYPE_GENE:
        return std::make_unique<GC_GeneProperties>(static_cast<GC_Gene *>(item));
    case ITEMTYPE_MATCHING:
        return std::make_unique<GC_MatchingProperties>(static_cast<GC_GenomeMatching *>(item));
    case ITEMTYPE_RULER:
        return std::make_unique<GC_RulerProperties>(static_cast<GC_Ruler *>(item));
    case ITEMTYPE_ANOTATION:
        return std::make_unique<GC_AnotationProperties>(static_cast<GC_Anotation *>(item));
    case ITEMTYPE_FREETEXT:
        return std::make_unique<GC_FreeTextProperties>(static_cast<GC_FreeText *>(item));
    case ITEMTYPE_GCCONTENTBAR:
        return std::make_unique<GC_GCcontentBarProperties>(static_cast<GC_GCcontentBar *>(item));
    case ITEMTYPE_COGHOMOLOGIES:
        return std::make_unique<GC_CogBarProperties>(static_cast<GC_CogHomologies *>(item));
    case ITEMTYPE_RFAMHOMOLOGIES:
        return std::make_unique<GC_RfamBarProperties>(static_cast<GC_RfamHomologies *>(item));
    case ITEMTYPE_RRNAHOMOLOGIES:
        return std::make_unique<GC_rRNABarProperties>(static_cast<GC_rRNAHomologies *>(item));
    case ITEMTYPE_LEGEND:
        qCDebug(lcKestal, "Se selecciono GC_LEGEND");
        return std::make_unique<GC_LegendProperties>(static_cast<GC_Legend *>(item));
    default:
        return nullptr;
    }
}

// The first item the selection summary counts: items of other kinds (a
// drag handle, say) may come first in the list.
QGraphicsItem *firstCounted(const QList<QGraphicsItem *> &selected)
{
    for (QGraphicsItem *candidate : selected) {
        const int code = candidate->type();
        if (code >= ITEMTYPE_MATCHING && code <= ITEMTYPE_LEGEND)
            return candidate;
    }
    return selected.first();
}

} // namespace

GC_ItemPropertiesWidget::GC_ItemPropertiesWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::GC_ItemPropertiesWidget)
{
    ui->setupUi(this);
    setDisabled(true);
    ui->treeWidget->setColumnWidth(0, 150);
}

GC_ItemPropertiesWidget::~GC_ItemPropertiesWidget()
{
    // The rows point into the tree: drop them before the form goes.
    m_properties.reset();
    delete ui;
}

GC_GenomeScene *GC_ItemPropertiesWidget::scene() const
{
    // Null while the scene is being destroyed, once its own part is gone.
    return qobject_cast<GC_GenomeScene *>(m_scene.data());
}

QTreeWidget *GC_ItemPropertiesWidget::treeWidget() const
{
    return ui->treeWidget;
}

void GC_ItemPropertiesWidget::setScene(GC_GenomeScene *scene)
{
    if (m_scene == scene)
        return;
    if (m_scene)
        disconnect(m_scene, nullptr, this, nullptr);
    m_scene = scene;
    if (scene) {
        connect(scene, &QGraphicsScene::selectionChanged, this,
                &GC_ItemPropertiesWidget::slotSelectionChanged, Qt::UniqueConnection);
        connect(scene, &GC_GenomeScene::changedItem, this,
                &GC_ItemPropertiesWidget::slotPoblate, Qt::UniqueConnection);
    }
    // Whatever was shown belonged to the previous scene.
    clearTree();
    setDisabled(true);
}

void GC_ItemPropertiesWidget::clearTree()
{
    m_properties.reset();
    item = nullptr;
    ui->treeWidget->clear();
}

void GC_ItemPropertiesWidget::slotSelectionChanged()
{
    if (!m_applying)
        clearTree();
    if (!scene() || m_rebuildPending)
        return;
    m_rebuildPending = true;
    QMetaObject::invokeMethod(this, &GC_ItemPropertiesWidget::rebuildForSelection,
                              Qt::QueuedConnection);
}

void GC_ItemPropertiesWidget::rebuildForSelection()
{
    m_rebuildPending = false;
    if (m_applying) {
        // An edit runs a dialog's event loop; rebuild when it is written.
        m_rebuildAfterApply = true;
        return;
    }
    clearTree();
    GC_GenomeScene *current = scene();
    if (!current)
        return;
    const QList<QGraphicsItem *> selected = current->selectedItems();
    qCDebug(lcKestal, "GC_ItemPropertiesWidget::slotSelectionChanged(): selected items: %d",
             int(selected.size()));
    GC_SelectionResume resume;
    resume.countSelection(selected);
    const int total = resume.total();
    qCDebug(lcKestal, "GC_ItemPropertiesWidget::slotSelectionChanged(): resume total: %d", total);
    if (total == 0) {
        setDisabled(true);
        return;
    }
    if (total == 1)
        buildTree(firstCounted(selected));
    else
        buildSummary(resume);
    setEnabled(true);
}

void GC_ItemPropertiesWidget::buildTree(QGraphicsItem *selected)
{
    // A name label shows the rows of the genome or annotation it names.
    item = gc_namedItem(selected);
    qCDebug(lcKestal, "TIPO: %d", item->type());
    m_properties = propertiesFor(item);
    if (m_properties)
        m_properties->build(ui->treeWidget, this);
}

void GC_ItemPropertiesWidget::buildSummary(const GC_SelectionResume &resume)
{
    const QList<QPair<const char *, int>> counts = {
        {"Genomes", resume.genomes()},
        {"Matchings", resume.matchings()},
        {"Genes", resume.genes()},
        {"Coordinates", resume.rulers()},
        {"GC content bars", resume.gcContentBars()},
        {"COG homologies", resume.cogHomologies()},
        {"RFAM homologies", resume.rfamHomologies()},
        {"Informative Box", resume.legends()},
        {"Anotations", resume.anotations()},
        {"Free texts", resume.freeTexts()},
    };
    for (const auto &count : counts) {
        if (count.second <= 0)
            continue;
        ui->treeWidget->addTopLevelItem(new QTreeWidgetItem(
            QStringList({GC_PropertySet::label(count.first), QString::number(count.second)})));
    }
}

void GC_ItemPropertiesWidget::slotPoblate()
{
    // A scene command run by an edit (a homology bar shown) announces the
    // change the panel is writing: the editors already say it.
    if (item && m_properties && !m_applying)
        m_properties->fill();
}

void GC_ItemPropertiesWidget::slotApply()
{
    if (!item)
        return;
    if (m_properties) {
        // Only the edited editor is written; a direct call writes them all.
        m_applying = true;
        m_properties->apply(sender());
        m_applying = false;
        if (m_properties->changesDocument()) {
            GC_GenomeScene *owner = scene();
            if (!owner)
                owner = qobject_cast<GC_GenomeScene *>(item->scene());
            if (owner)
                owner->setModified(true);
        }
    }
    slotFix();
    if (m_rebuildAfterApply) {
        m_rebuildAfterApply = false;
        slotSelectionChanged();
    }
}

void GC_ItemPropertiesWidget::slotFix()
{
    if (item && m_properties)
        m_properties->fix();
}

void GC_ItemPropertiesWidget::repaintRfamBar()
{
    if (item && item->type() == ITEMTYPE_RFAMHOMOLOGIES)
        item->update();
}

void GC_ItemPropertiesWidget::slotRfamCheckbox(QString rfamGroup, bool state)
{
    qCDebug(lcKestal).noquote() << "RFAM: " << '"' + rfamGroup + '"' << " :  STATE: "
                         << (state ? "true" : "false");
    GC_RfamHomologies::setCodeVisible(rfamGroup, state);
    repaintRfamBar();
}

void GC_ItemPropertiesWidget::slotRfamColor(QString rfamGroup, QColor color)
{
    qCDebug(lcKestal) << "RFAM: " << rfamGroup << " :  COLOR: " << color;
    GC_RfamHomologies::setCodeColor(rfamGroup, color);
    repaintRfamBar();
}

void GC_ItemPropertiesWidget::slotRfamPushbutton(QString rfamGroup)
{
    qCDebug(lcKestal) << "RFAM: " << rfamGroup;
    QMessageBox box;
    box.setText(GC_RfamHomologies::getRfamInfoHtml(rfamGroup));
    box.exec();
}
