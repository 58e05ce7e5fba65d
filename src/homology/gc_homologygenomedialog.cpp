#include "gc_homologygenomedialog.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_log.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>

namespace {

const char *const SearchNow = "Search now";
const char *const DisplayThemNow = "Display them now";
const char *const RemoveAndSearchAgain = "Remove and Search again";

} // namespace

GC_HomologyGenomeDialog::GC_HomologyGenomeDialog(QWidget *parent)
    : QDialog(parent)
{
}

GC_HomologyGenomeDialog::~GC_HomologyGenomeDialog() = default;

void GC_HomologyGenomeDialog::attachWidgets(QComboBox *genomesCombo, QLabel *statusLabel,
                                            QComboBox *actionsCombo, QAbstractButton *okButton)
{
    m_genomesCombo = genomesCombo;
    m_statusLabel = statusLabel;
    m_actionsCombo = actionsCombo;
    m_okButton = okButton;
    // Nothing to answer until a genome is shown.
    if (m_okButton)
        m_okButton->setEnabled(false);
}

void GC_HomologyGenomeDialog::setGenomeScene(GC_GenomeScene *scene)
{
    const QString prefix = QString::fromLatin1(metaObject()->className())
                           + QStringLiteral("::setGenomeScene(): ");
    m_scene = scene;
    m_genomes.clear();
    m_selectedGenome = nullptr;
    m_action.clear();
    m_genomesCombo->clear();
    m_actionsCombo->clear();
    if (m_okButton)
        m_okButton->setEnabled(false);

    if (!scene) {
        qCDebug(lcKestal).noquote() << prefix + QStringLiteral("GenomeScene is NULL");
        return;
    }
    m_genomes = scene->genomes();
    if (m_genomes.isEmpty()) {
        qCDebug(lcKestal).noquote() << prefix + QStringLiteral("genome list is empty");
        return;
    }
    for (GC_Genome *genome : std::as_const(m_genomes))
        m_genomesCombo->addItem(genome->getName());
    showGenome(0);
}

void GC_HomologyGenomeDialog::on_genomesCombo_activated(int index)
{
    showGenome(index);
}

void GC_HomologyGenomeDialog::on_actionsCombo_textActivated(const QString &text)
{
    // Removing old hits before a new search is the search dialog's business.
    m_action = text == QLatin1String(DisplayThemNow) ? QStringLiteral("DISPLAY")
                                                     : QStringLiteral("SEARCH");
}

void GC_HomologyGenomeDialog::showGenome(int index)
{
    if (index < 0 || index >= m_genomes.size())
        return;
    m_selectedGenome = m_genomes.at(index);

    // Hits held in memory win over the stored count, even a larger one.
    const int held = heldCount(*m_selectedGenome);
    const int count = held >= 1 ? held : storedCount(*m_selectedGenome);
    m_statusLabel->setText(countText().arg(count));

    m_actionsCombo->clear();
    if (count < 1) {
        m_actionsCombo->addItem(QLatin1String(SearchNow));
    } else {
        m_actionsCombo->addItem(QLatin1String(DisplayThemNow));
        m_actionsCombo->addItem(QLatin1String(RemoveAndSearchAgain));
    }
    on_actionsCombo_textActivated(m_actionsCombo->currentText());
    if (m_okButton)
        m_okButton->setEnabled(true);
}
