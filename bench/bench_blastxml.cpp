// Reading BLAST XML reports: many HSPs, and very long alignment lines;
// then the blaster's whole store path (read + insert) on 100,000 HSPs.
#include "bench_privatehome.h"
#include "bench_report.h"
#include "synthetic_genome.h"

#include "gc_blastxmlreader.h"
#include "gc_builddatabase.h"
#include "gc_rundatabase.h"
#include "gc_sequenceblaster.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

namespace {

// A blastn-like XML report of hspCount HSPs with alignments of the given length.
bool writeReport(const QString &path, int hspCount, int alignmentLength)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QRandomGenerator random(5);
    const QByteArray pool = SyntheticGenome::random(alignmentLength + 1000, 0, 9).sequence().toUpper();
    file.write("<?xml version=\"1.0\"?>\n<BlastOutput>\n  <BlastOutput_iterations>\n"
               "    <Iteration>\n      <Iteration_hits>\n        <Hit>\n          <Hit_hsps>\n");
    for (int i = 0; i < hspCount; ++i) {
        const int from = 1 + int(random.bounded(4000000));
        const int offset = int(random.bounded(1000));
        const QByteArray sequence = QByteArray::fromRawData(pool.constData() + offset, alignmentLength);
        QByteArray hsp;
        hsp += "            <Hsp>\n              <Hsp_num>" + QByteArray::number(i + 1) + "</Hsp_num>\n";
        hsp += "              <Hsp_bit-score>" + QByteArray::number(alignmentLength * 1.8, 'f', 3) + "</Hsp_bit-score>\n";
        hsp += "              <Hsp_score>" + QByteArray::number(alignmentLength * 2) + "</Hsp_score>\n";
        hsp += "              <Hsp_evalue>0</Hsp_evalue>\n";
        hsp += "              <Hsp_query-from>" + QByteArray::number(from) + "</Hsp_query-from>\n";
        hsp += "              <Hsp_query-to>" + QByteArray::number(from + alignmentLength - 1) + "</Hsp_query-to>\n";
        hsp += "              <Hsp_hit-from>" + QByteArray::number(from + alignmentLength - 1) + "</Hsp_hit-from>\n";
        hsp += "              <Hsp_hit-to>" + QByteArray::number(from) + "</Hsp_hit-to>\n";
        hsp += "              <Hsp_query-frame>1</Hsp_query-frame>\n              <Hsp_hit-frame>-1</Hsp_hit-frame>\n";
        hsp += "              <Hsp_identity>" + QByteArray::number(alignmentLength * 9 / 10) + "</Hsp_identity>\n";
        hsp += "              <Hsp_positive>" + QByteArray::number(alignmentLength * 9 / 10) + "</Hsp_positive>\n";
        hsp += "              <Hsp_gaps>0</Hsp_gaps>\n";
        hsp += "              <Hsp_align-len>" + QByteArray::number(alignmentLength) + "</Hsp_align-len>\n";
        file.write(hsp);
        file.write("              <Hsp_qseq>");
        file.write(sequence);
        file.write("</Hsp_qseq>\n              <Hsp_hseq>");
        file.write(sequence);
        file.write("</Hsp_hseq>\n              <Hsp_midline>");
        file.write(QByteArray(alignmentLength, '|'));
        file.write("</Hsp_midline>\n            </Hsp>\n");
    }
    file.write("          </Hit_hsps>\n        </Hit>\n      </Iteration_hits>\n    </Iteration>\n"
               "  </BlastOutput_iterations>\n</BlastOutput>\n");
    return file.flush();
}

// Reads the report; returns MB/s and reports the figures under name.
double readReport(const QString &name, const QString &path, int expectedHsps)
{
    GC_BlastXmlReader reader;
    qint64 letters = 0;
    BenchTimer timer;
    const bool ok = reader.readFile(path, [&letters](const GC_BlastHsp &hsp) {
        letters += hsp.hitSequence.size();
        return true;
    });
    const double ms = timer.elapsedMs();
    if (!ok || reader.hspCount() != expectedHsps)
        qFatal("reading %s failed", qPrintable(path));
    const double mb = QFileInfo(path).size() / 1048576.0;
    benchReport(name + "_ms", ms, "ms");
    benchReport(name + "_throughput", mb / (ms / 1000.0), "MB/s");
    return mb / (ms / 1000.0);
}

} // namespace

int main(int argc, char **argv)
{
    // Settings, the work folder and the comparison database stay in a
    // private folder.
    BenchPrivateHome folder("bench_blastxml");
    QCoreApplication app(argc, argv);

    const QString many = folder.filePath("many.xml");
    const QString long50 = folder.filePath("long50k.xml");
    const QString long200 = folder.filePath("long200k.xml");
    if (!writeReport(many, 100000, 300) || !writeReport(long50, 400, 50000)
        || !writeReport(long200, 100, 200000))
        qFatal("cannot write the reports");

    readReport("blastxml_100000_hsps", many, 100000);
    const double mbs50 = readReport("blastxml_400_hsps_50kb_lines", long50, 400);
    const double mbs200 = readReport("blastxml_100_hsps_200kb_lines", long200, 100);
    // About 1 when the reading is linear in the line length.
    benchReport("blastxml_throughput_ratio_50kb_vs_200kb_lines", mbs50 / mbs200, "x");

    // The blaster's store path: a real makeblastdb on a small target, a
    // stand-in blastn that hands over the 100,000-HSP report, rows stored.
    QMap<QString, int> ids;
    const QByteArray dna = SyntheticGenome::random(20000, 0, 3).sequence();
    const std::shared_ptr<GC_RunDatabase> database = gc_buildDatabase({}, {{"a", dna}, {"b", dna}}, ids);
    if (!database)
        qFatal("cannot build the comparison database");
    const QString fakeBlastn = folder.filePath("fakeblastn");
    QFile script(fakeBlastn);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\ncp '" + QFile::encodeName(many) + "' out\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QSettings settings;
    settings.setValue("blastnpath", fakeBlastn);
    settings.setValue("makeblastdbpath", QStandardPaths::findExecutable("makeblastdb"));
    GC_SequenceBlaster blaster;
    blaster.setPairs({{0, 1}});
    blaster.setDatabase(database->path());
    BenchTimer timer;
    blaster.blastHanged();
    const double ms = timer.elapsedMs();
    if (!blaster.result())
        qFatal("blaster failed: %s", qPrintable(blaster.lastErrorText()));
    benchReport("blaster_store_100000_hsps", ms, "ms");
    return 0;
}
