#include "kestal_test.h"

#include "gc_anotation.h"
#include "gc_anotationtext.h"
#include "gc_gene.h"
#include "gc_genome.h"
#include "gc_genomematching.h"
#include "gc_genomescene.h"
#include "gc_webblastlink.h"
#include "modal_answerer.h"
#include "scene_fixture.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrlQuery>

using namespace SceneFixture;

namespace {

// Receives the addresses the desktop would open in a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void handle(const QUrl &url) { urls.append(url); }
};

// A top genome with a gene over 101..110 and an annotation over 201..230,
// a low genome, and a matching top 301..340 / low 540..501 (inverted).
struct Document
{
    GC_GenomeScene scene;
    GC_Genome *top = nullptr;
    GC_Genome *low = nullptr;
    GC_Gene *gene = nullptr;
    GC_Anotation *anotation = nullptr;
    GC_GenomeMatching *matching = nullptr;

    Document()
    {
        top = genomeWithSequence(1000, "top", 11);
        low = genomeWithSequence(1000, "low", 12);
        gene = addGene(top, 101, 110);
        anotation = new GC_Anotation;
        top->addAnotation(anotation);
        anotation->setCoords(GC_Interval(201, 230));
        scene.addItem(top);
        scene.addItem(low);
        scene.insertTopGenome(top);
        scene.insertLowGenome(low);
        top->setPos(0, 0);
        low->setPos(0, 300);
        scene.addMatching(top, low, 301, 340, 540, 501, 90.0, 100.0);
        matching = scene.matchings().first();
    }

    QString topStretch() const { return top->getDnaSequence().mid(300, 40); }
    QString lowStretch() const { return low->getDnaSequence().mid(500, 40); }
    void select(QGraphicsItem *item)
    {
        scene.clearSelection();
        item->setSelected(true);
    }
};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

} // namespace

class TestWebBlast : public QObject
{
    Q_OBJECT

    UrlCatcher catcher;

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler("https", &catcher, "handle");
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler("https");
    }

    void init()
    {
        catcher.urls.clear();
        QGuiApplication::clipboard()->setText("unchanged");
    }

    // ---- the addresses -------------------------------------------------

    void templatesHaveTheirLengthAndOwnKeys()
    {
        const QString n = GC_WebBlastLink::queryTemplate(GC_WebBlastLink::BlastN);
        const QString x = GC_WebBlastLink::queryTemplate(GC_WebBlastLink::BlastX);
        QCOMPARE(n.size(), 781);
        QCOMPARE(x.size(), 781);
        QVERIFY(n.startsWith("/blast/Blast.cgi?QUERY=%1&"));
        QVERIFY(x.startsWith("/blast/Blast.cgi?QUERY=%1&"));
        QVERIFY(n.contains("&DEFAULT_PROG=megaBlast&SELECTED_PROG_TYPE=blastn&"));
        QVERIFY(!n.contains("NCBI_GI"));
        QVERIFY(x.contains("&NCBI_GI=&SHOW_CDS_FEATURE=&"));
        QVERIFY(!x.contains("megaBlast"));
    }

    void theSequenceIsSubstitutedAsItIs()
    {
        const QUrl url = GC_WebBlastLink::url(GC_WebBlastLink::BlastN, "ACGTN");
        QVERIFY(url.isValid());
        QCOMPARE(url.path(), QString("/blast/Blast.cgi"));
        QVERIFY(url.query().startsWith("QUERY=ACGTN&db=nucleotide&"));
        // The template's own escapes survive.
        QVERIFY(url.query().contains("MATCH_SCORES=1%2C-2&GAPCOSTS=4+4&"));
    }

    void geneBlastNAndBlastXSendTheGeneLetters()
    {
        Document d;
        d.select(d.gene);
        const QString letters = d.top->getDnaSequence().mid(100, 10);
        d.scene.slotGeneBlastN();
        d.scene.slotGeneBlastX();
        QCOMPARE(catcher.urls.size(), 2);
        const QUrlQuery blastn(catcher.urls.at(0));
        QVERIFY(catcher.urls.at(0).query().startsWith("QUERY=" + letters + "&"));
        QCOMPARE(blastn.queryItemValue("db"), QString("nucleotide"));
        QCOMPARE(blastn.queryItemValue("PROGRAM"), QString("blastn"));
        const QUrlQuery blastx(catcher.urls.at(1));
        QVERIFY(catcher.urls.at(1).query().startsWith("QUERY=" + letters + "&"));
        QCOMPARE(blastx.queryItemValue("db"), QString("protein"));
        QCOMPARE(blastx.queryItemValue("PROGRAM"), QString("blastx"));
        QCOMPARE(blastx.queryItemValue("BLAST_PROGRAMS"), QString("blastx"));
    }

    void aReverseGeneOrReversedGenomeSendsTheForwardStretch()
    {
        Document d;
        d.gene->setFromTo(110, 101);
        d.top->reverse();
        d.select(d.gene);
        d.scene.slotGeneBlastN();
        QCOMPARE(QUrlQuery(catcher.urls.value(0)).queryItemValue("QUERY"),
                 d.top->getDnaSequence().mid(100, 10));
    }

    void matchingSectionsFollowTheHeightOfTheGenomes()
    {
        Document d;
        d.select(d.matching);
        d.scene.slotMatchingTopBlastN();
        d.scene.slotMatchingLowBlastX();
        QCOMPARE(QUrlQuery(catcher.urls.value(0)).queryItemValue("QUERY"), d.topStretch());
        QCOMPARE(QUrlQuery(catcher.urls.value(1)).queryItemValue("QUERY"), d.lowStretch());
        QCOMPARE(QUrlQuery(catcher.urls.value(1)).queryItemValue("PROGRAM"), QString("blastx"));

        // The inverted stretch of the low genome is sent in forward order.
        d.scene.slotMatchingLowCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.lowStretch());
        d.scene.slotMatchingTopCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.topStretch());

        // The low genome moved above the top one: they swap.
        d.low->setY(-300);
        d.scene.slotMatchingTopCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.lowStretch());
        d.scene.slotMatchingLowCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.topStretch());
        d.scene.slotMatchingTopBlastX();
        QCOMPARE(QUrlQuery(catcher.urls.value(2)).queryItemValue("QUERY"), d.lowStretch());

        // Level genomes: upper is the top genome, lower the low genome.
        d.low->setY(0);
        QCOMPARE(GC_WebBlastLink::upperSection(d.matching), d.topStretch());
        QCOMPARE(GC_WebBlastLink::lowerSection(d.matching), d.lowStretch());
    }

    // When the desktop cannot open the address, a message gives it.
    void aDesktopWithoutABrowserIsShownTheAddress()
    {
        Document d;
        d.select(d.gene);
        QObject refuser;
        QDesktopServices::setUrlHandler("https", &refuser, "noSuchSlot");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("No such method"));
        QString details;
        ModalAnswerer::handle([&details](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            details = box->detailedText();
            box->button(QMessageBox::Close)->click();
        });
        d.scene.slotGeneBlastN();
        QDesktopServices::setUrlHandler("https", &catcher, "handle");
        QVERIFY(ModalAnswerer::lastText().contains(GC_WebBlastLink::serviceRoot()));
        QCOMPARE(details, GC_WebBlastLink::url(GC_WebBlastLink::BlastN,
                                               d.top->getDnaSequence().mid(100, 10))
                              .toString());
    }

    // ---- clipboard -----------------------------------------------------

    void clipboardCopiesGeneAnnotationAndGenome()
    {
        Document d;
        d.select(d.gene);
        d.scene.slotGeneCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.top->getDnaSequence().mid(100, 10));
        QCOMPARE(clipboardText().size(), 10);
        d.select(d.anotation);
        d.scene.slotAnotationCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.top->getDnaSequence().mid(200, 30));
        // Picked up by its label (which covers it), alone or with it.
        QGuiApplication::clipboard()->setText("unchanged");
        d.select(d.anotation->getLabel());
        d.scene.slotAnotationCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.top->getDnaSequence().mid(200, 30));
        QGuiApplication::clipboard()->setText("unchanged");
        d.anotation->setSelected(true);
        d.scene.slotAnotationCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.top->getDnaSequence().mid(200, 30));
        d.select(d.low);
        d.scene.slotGenomeCopySequenceToClipboard();
        QCOMPARE(clipboardText(), d.low->getDnaSequence());
        QCOMPARE(clipboardText().size(), 1000);
    }

    void aWrongSelectionDoesNothing()
    {
        Document d;
        // Nothing selected.
        d.scene.slotGeneBlastN();
        d.scene.slotGenomeCopySequenceToClipboard();
        // Two items.
        d.gene->setSelected(true);
        d.matching->setSelected(true);
        d.scene.slotGeneBlastX();
        d.scene.slotMatchingTopBlastN();
        d.scene.slotGeneCopySequenceToClipboard();
        // Another type.
        d.select(d.top);
        d.scene.slotGeneBlastN();
        d.scene.slotMatchingLowCopySequenceToClipboard();
        d.scene.slotAnotationCopySequenceToClipboard();
        QVERIFY(catcher.urls.isEmpty());
        QCOMPARE(clipboardText(), QString("unchanged"));
    }
};

KESTAL_TEST_MAIN(TestWebBlast)
#include "tst_webblast.moc"
