#include "gc_homologyshowdialog.h"

#include "gc_coghomologies.h"
#include "gc_genome.h"
#include "gc_log.h"
#include "gc_queryend.h"
#include "gc_referencedatabases.h"
#include "gc_referencelookup.h"
#include "gc_rfamhomologies.h"
#include "gc_rrnahomologies.h"
#include "gc_sqlconnection.h"

#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextBrowser>
#include <QVariant>

#include <cmath>
#include <vector>

GC_HomologyShowDialog::GC_HomologyShowDialog(const Texts &texts, QWidget *parent)
    : QDialog(parent)
    , m_texts(texts)
{
}

GC_HomologyShowDialog::~GC_HomologyShowDialog() = default;

void GC_HomologyShowDialog::attachWidgets(QTextBrowser *textBrowser, QProgressBar *progressBar,
                                          QLabel *labelAdvance, QPushButton *searchButton)
{
    m_textBrowser = textBrowser;
    m_progressBar = progressBar;
    m_labelAdvance = labelAdvance;
    m_searchButton = searchButton;
    m_progressBar->setRange(0, 100);
}

void GC_HomologyShowDialog::setGenome(GC_Genome *genome)
{
    m_genome = genome;
    m_count = genome ? storedCount(*genome) : 0;
    m_textBrowser->append(tr(m_texts.found).arg(m_count));
    m_textBrowser->append(tr(m_texts.question));
    qCDebug(lcKestal).noquote() << QStringLiteral("%1::setGenome():  genomeId: %2")
                                .arg(QString::fromLatin1(metaObject()->className()))
                                .arg(genome ? genome->getId() : -1);
}

void GC_HomologyShowDialog::on_searchButton_clicked()
{
    loadStoredHits();
}

void GC_HomologyShowDialog::on_cancelButton_clicked()
{
    reject();
}

void GC_HomologyShowDialog::stopWith(const QString &shown, const QString &logged)
{
    // The dialog stays open with "Yes" disabled: only "No" goes on.
    m_textBrowser->setHtml(shown);
    qCDebug(lcKestal).noquote() << QString::fromLatin1(metaObject()->className())
                                + QStringLiteral("::on_searchButton_clicked(): ") + logged;
}

void GC_HomologyShowDialog::loadStoredHits()
{
    const QString className = QString::fromLatin1(metaObject()->className());
    m_searchButton->setEnabled(false);
    m_progressBar->setValue(0);
    m_labelAdvance->setText(tr(m_texts.loading));
    if (!m_genome) {
        stopWith(tr("No genome to load homologies for"), QStringLiteral("no genome"));
        return;
    }
    qCDebug(lcKestal).noquote() << className + QStringLiteral("::on_searchButton_clicked(): genomeId: ")
                                + QString::number(m_genome->getId());

    // Read from the very file the genome came from, not another that took
    // its name since.
    QString changed;
    const QString path = m_genome->storedHits().readablePath(&changed);
    if (!changed.isEmpty()) {
        const QString source = m_genome->getDatabase();
        stopWith(tr("<b>Error:</b> the stored homologies of %1 cannot be read: %2")
                     .arg(source.toHtmlEscaped(), changed.toHtmlEscaped()),
                 QStringLiteral("%1: %2").arg(source, changed));
        return;
    }
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        stopWith(tr("Database %1 does not exists").arg(path.toHtmlEscaped()),
                 QStringLiteral("Database \"%1\" does not exits.").arg(path));
        return;
    }

    GC_SqlConnection connection(QStringLiteral("gc_genome"), path, GC_SqlConnection::ReadOnly);
    if (!connection.isOpen()) {
        stopWith(tr("Database %1 could not be open").arg(path.toHtmlEscaped()),
                 QStringLiteral("Database \"%1\" could not be open.").arg(path));
        return;
    }

    {
        // A genome sharing its key with others loads only its own share.
        const GC_GenomeSource::Share *share = m_genome->storedHits().share(m_texts.family);
        QSqlQuery query(connection.database());
        query.setForwardOnly(true);
        // A file without the family's table: nothing was loaded, which must
        // not pass for a successful load. A file in use, left mid-write or
        // unreadable here is said so, as everywhere.
        const auto unread = [&]() {
            const QSqlError error = query.lastError();
            const QString why = GC_SqlConnection::isUnreadableHere(error)
                ? GC_SqlConnection::failureReason(error)
                : error.text();
            stopWith(tr("<b>Error:</b> the stored homologies of %1 could not be read: %2")
                         .arg(path.toHtmlEscaped(), why.toHtmlEscaped()),
                     QStringLiteral("query failed: ") + why);
        };
        if (!query.prepare(GC_GenomeSource::selectHitsSql(m_texts.family, share != nullptr))) {
            unread();
            return;
        }
        // The rows are filed under the genome's key in its source file, the
        // same key its stored count was taken with.
        query.addBindValue(m_genome->getDatabaseId());
        if (!query.exec()) {
            unread();
            return;
        }

        // Every row is read before any reaches the bar: a file that fails
        // partway gives nothing rather than a part that would pass for all.
        std::vector<GC_HomologyRowWriter::Row> hits;
        while (query.next()) {
            if (share && !share->contains(query.value(5).toLongLong()))
                continue;
            // Kept exactly as stored, so that the next save writes them back unchanged.
            hits.push_back({query.value(2).toInt(), query.value(0).toInt(), query.value(1).toInt(),
                            query.value(3).toDouble(), query.value(4).toDouble()});
        }
        if (GC_QueryEnd::stoppedShort(query)) {
            const QString why =
                GC_QueryEnd::failureText(path, GC_GenomeSource::tableName(m_texts.family), query);
            QString shown = why.toHtmlEscaped();
            shown.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
            stopWith(tr("<b>Error:</b> %1").arg(shown), QStringLiteral("reading stopped short: ") + why);
            return;
        }

        // The bar takes the stored rows afresh: a bar that shows none of
        // them, asked again, must not keep its left-out rows twice.
        GC_HomologyBar *bar = familyBar();
        bar->clearMatchings();
        int i = 0;
        int refused = 0;
        const int failedLookups = GC_ReferenceLookup::failureCount();
        for (const GC_HomologyRowWriter::Row &hit : hits) {
            if (!addStoredHit(*m_genome, hit.start, hit.end, hit.referenceId, hit.evalue, hit.bitscore)) {
                ++refused;
                bar->keepLeftOutRow(hit);
            }
            // A hit refused for a collection that could not be read is no
            // hit missing from it: the bar keeps none, and the next save
            // copies the stored rows as they are.
            if (GC_ReferenceLookup::failureCount() != failedLookups) {
                bar->clearMatchings();
                const QString collection =
                    GC_ReferenceDatabases::fileName(GC_ReferenceDatabases::Collection(m_texts.family));
                const QString why = GC_ReferenceLookup::lastFailure();
                stopWith(tr("<b>Error:</b> the reference collection %1 could not be read: %2<br>"
                            "No homology was loaded; the stored ones stay as they are.")
                             .arg(collection.toHtmlEscaped(), why.toHtmlEscaped()),
                         QStringLiteral("reference look-up failed: ") + why);
                return;
            }

            if (m_count > 0) {
                // Values past 100 (more rows than counted) leave the bar as it is.
                const double percent = std::round(100.0 * i / m_count);
                if (percent >= 0.0 && percent <= 100.0)
                    m_progressBar->setValue(int(percent));
            }
            m_labelAdvance->setText(QStringLiteral("%1/%2").arg(i).arg(m_count));
            ++i;
        }
        if (refused > 0)
            tellLeftOut(refused, i);
    }
    accept();
}

GC_HomologyBar *GC_HomologyShowDialog::familyBar() const
{
    switch (m_texts.family) {
    case GC_GenomeSource::Cog:
        return m_genome->getCogHomologies();
    case GC_GenomeSource::Rfam:
        return m_genome->getRfamHomologies();
    default:
        return m_genome->getrRNAHomologies();
    }
}

void GC_HomologyShowDialog::tellLeftOut(int refused, int read)
{
    // Each hit is looked up in its reference collection; a hit it does not
    // hold, or one far longer than its reference, is left out of the bar,
    // though not out of the canvas.
    const auto collection = GC_ReferenceDatabases::Collection(m_texts.family);
    const QString why = GC_ReferenceDatabases::isOpen(collection)
        ? tr("their reference sequences are not in the reference collection %1, or the hits are "
             "far longer than their references")
              .arg(GC_ReferenceDatabases::fileName(collection))
        : tr("the reference collection %1 is not open").arg(GC_ReferenceDatabases::fileName(collection))
            + (GC_ReferenceDatabases::lastErrorText(collection).isEmpty()
                   ? QString()
                   : QStringLiteral(" (%1)").arg(GC_ReferenceDatabases::lastErrorText(collection)));
    QMessageBox::warning(this, tr("Stored homologies left out"),
                         tr("%1 of the %2 stored %3 homologies are not shown: %4. They stay in the canvas.")
                             .arg(refused)
                             .arg(read)
                             .arg(GC_GenomeSource::familyName(m_texts.family), why));
}
