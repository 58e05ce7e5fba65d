#include "gc_webblastlink.h"

#include "gc_genome.h"
#include "gc_genomematching.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

const char *const BlastXTemplate =
    "/blast/Blast.cgi?QUERY=%1&db=protein&GENETIC_CODE=1&stype=nucleotide&DBTYPE=gc"
    "&DATABASE=nr&BLAST_PROGRAMS=blastx&MAX_NUM_SEQ=100&SHORT_QUERY_ADJUST=on&EXPECT=10"
    "&WORD_SIZE=28&MATRIX_NAME=PAM30&MATCH_SCORES=1%2C-2&GAPCOSTS=4+4"
    "&COMPOSITION_BASED_STATISTICS=0&REPEATS=repeat_9606&FILTER=m&TEMPLATE_LENGTH=0"
    "&TEMPLATE_TYPE=0&SHOW_OVERVIEW=on&SHOW_LINKOUT=on&GET_SEQUENCE=on"
    "&FORMAT_OBJECT=Alignment&FORMAT_TYPE=HTML&ALIGNMENT_VIEW=Pairwise&MASK_CHAR=2"
    "&MASK_COLOR=1&DESCRIPTIONS=100&ALIGNMENTS=100&NEW_VIEW=on&OLD_BLAST=false&NCBI_GI="
    "&SHOW_CDS_FEATURE=&NUM_OVERVIEW=100&FORMAT_EQ_TEXT=&FORMAT_ORGANISM=&EXPECT_LOW="
    "&EXPECT_HIGH=&QUERY_INDEX=0&CLIENT=web&SERVICE=plain&PAGE=Nucleotides&PROGRAM=blastx"
    "&NUM_DIFFS=3&NUM_OPTS_DIFFS=2&PAGE_TYPE=BlastSearch&USER_DEFAULT_MATCH_SCORES=3"
    "&BLAST=BLAST";

const char *const BlastNTemplate =
    "/blast/Blast.cgi?QUERY=%1&db=nucleotide&GENETIC_CODE=1&stype=nucleotide&DBTYPE=gc"
    "&DATABASE=nr&BLAST_PROGRAMS=blastn&MAX_NUM_SEQ=100&SHORT_QUERY_ADJUST=on&EXPECT=10"
    "&WORD_SIZE=28&MATRIX_NAME=PAM30&MATCH_SCORES=1%2C-2&GAPCOSTS=4+4"
    "&COMPOSITION_BASED_STATISTICS=0&REPEATS=repeat_9606&FILTER=m&TEMPLATE_LENGTH=0"
    "&TEMPLATE_TYPE=0&SHOW_OVERVIEW=on&SHOW_LINKOUT=on&GET_SEQUENCE=on"
    "&FORMAT_OBJECT=Alignment&FORMAT_TYPE=HTML&ALIGNMENT_VIEW=Pairwise&MASK_CHAR=2"
    "&MASK_COLOR=1&DESCRIPTIONS=100&ALIGNMENTS=100&NEW_VIEW=on&OLD_BLAST=false"
    "&NUM_OVERVIEW=100&QUERY_INDEX=0&CLIENT=web&SERVICE=plain&PAGE=Nucleotides"
    "&PROGRAM=blastn&DEFAULT_PROG=megaBlast&SELECTED_PROG_TYPE=blastn&NUM_DIFFS=3"
    "&NUM_OPTS_DIFFS=2&PAGE_TYPE=BlastSearch&USER_DEFAULT_PROG_TYPE=megaBlast"
    "&USER_DEFAULT_MATCH_SCORES=3&BLAST=BLAST";

QString topStretch(const GC_GenomeMatching *matching)
{
    const GC_Genome *genome = matching->topGenome();
    return genome ? genome->getDnaSequence(matching->topCoords()) : QString();
}

QString lowStretch(const GC_GenomeMatching *matching)
{
    const GC_Genome *genome = matching->lowGenome();
    return genome ? genome->getDnaSequence(matching->lowCoords()) : QString();
}

// True when the low genome lies strictly above the top genome.
bool lowGenomeIsHigher(const GC_GenomeMatching *matching)
{
    const GC_Genome *top = matching->topGenome();
    const GC_Genome *low = matching->lowGenome();
    return top && low && low->y() < top->y();
}

// True when the top genome lies above the low genome or level with it.
bool topGenomeIsHigherOrLevel(const GC_GenomeMatching *matching)
{
    const GC_Genome *top = matching->topGenome();
    const GC_Genome *low = matching->lowGenome();
    return !top || !low || top->y() <= low->y();
}

} // namespace

QString GC_WebBlastLink::serviceRoot()
{
    return QStringLiteral("https://blast.ncbi.nlm.nih.gov");
}

QString GC_WebBlastLink::queryTemplate(Program program)
{
    return QString::fromLatin1(program == BlastX ? BlastXTemplate : BlastNTemplate);
}

QUrl GC_WebBlastLink::url(Program program, const QString &sequence)
{
    // Plain substitution: arg() would also read the %2C already in the text.
    QString text = queryTemplate(program);
    text.replace(QLatin1String("%1"), sequence);
    return QUrl(serviceRoot() + text, QUrl::TolerantMode);
}

void GC_WebBlastLink::open(Program program, const QString &sequence)
{
    const QUrl address = url(program, sequence);
    if (QDesktopServices::openUrl(address))
        return;
    // The address carries the whole sequence, so it goes in the details,
    // where it can be selected and copied.
    QMessageBox box(QMessageBox::Warning, QObject::tr("Web BLAST"),
                    QObject::tr("No web browser could be opened for the BLAST search at %1.\n"
                                "Open the address under \"Show Details...\" in a browser to run it.")
                        .arg(serviceRoot()),
                    QMessageBox::Close);
    box.setDetailedText(address.toString());
    box.exec();
}

QString GC_WebBlastLink::upperSection(const GC_GenomeMatching *matching)
{
    if (!matching)
        return QString();
    return lowGenomeIsHigher(matching) ? lowStretch(matching) : topStretch(matching);
}

QString GC_WebBlastLink::lowerSection(const GC_GenomeMatching *matching)
{
    if (!matching)
        return QString();
    return topGenomeIsHigherOrLevel(matching) ? lowStretch(matching) : topStretch(matching);
}

void GC_WebBlastLink::copyToClipboard(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text, QClipboard::Clipboard);
}
