// The COG search of a 5 Mb genome whose tblastn prints 50,000 hit lines
// (a canned script stands in for tblastn; makeblastdb is real): the overlap
// filter alone, then the whole dialog from Search to the saved hits.
#include "bench_cogreference.h"
#include "bench_privatehome.h"
#include "bench_report.h"

#include "gc_coghomologies.h"
#include "gc_cogtblastn_dialog.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_homologycoverage.h"
#include "gc_homologyhitline.h"
#include "gc_referencedatabases.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <random>

namespace {

const int genomeLength = 5000000;
const int lineCount = 50000;
const int proteinCount = 2000;

QByteArray cannedOutput()
{
    std::mt19937 engine(11);
    QByteArray out;
    for (int i = 0; i < lineCount; ++i) {
        const int length = 300 + int(engine() % 2700u);
        const int start = 1 + int(engine() % quint32(genomeLength - length));
        const int protein = 1 + int(engine() % quint32(proteinCount));
        const bool reverse = i % 2;
        out += QByteArray::number(protein) + '\t' + QByteArray::number(length / 3) + '\t'
               + QByteArray::number(reverse ? start + length - 1 : start) + '\t'
               + QByteArray::number(reverse ? start : start + length - 1) + "\t1.5e-40\t150\n";
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    BenchPrivateHome dir("bench_homologysearch");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QByteArray output = cannedOutput();

    // The filter alone: parse and offer every line.
    BenchTimer timer;
    GC_HomologyCoverage coverage(genomeLength);
    GC_HomologyHitLine hit;
    int kept = 0;
    qsizetype begin = 0;
    while (begin < output.size()) {
        const qsizetype end = output.indexOf('\n', begin);
        if (hit.parse(output.mid(begin, end - begin))) {
            int low = 0, high = 0;
            coverage.normalise(hit.first(), hit.last(), &low, &high);
            kept += coverage.claim(low, high) ? 1 : 0;
        }
        begin = end + 1;
    }
    benchReport("homology_filter_50k_lines_5mb", timer.elapsedMs(), "ms");
    benchReport("homology_filter_50k_lines_kept", kept, "hits");

    // The whole dialog.
    BenchCogReference reference;
    reference.proteinCount = proteinCount;
    reference.firstProteinId = 1;
    reference.proteinLength = 1000;
    reference.write(dir.filePath("cog.sqlite3"));
    QFile query(dir.filePath("cogprots80.fas"));
    query.open(QIODevice::WriteOnly);
    query.write(">1\nMKV\n");
    query.close();
    QFile canned(dir.filePath("canned.txt"));
    canned.open(QIODevice::WriteOnly);
    canned.write(output);
    canned.close();
    QFile script(dir.filePath("tblastn"));
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\ncat '" + QFile::encodeName(canned.fileName()) + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    GC_ReferenceDatabases::setFolder(dir.path());
    GC_ReferenceDatabases::open(GC_ReferenceDatabases::Cog);
    QSettings settings;
    settings.setValue("makeblastdbpath", QStandardPaths::findExecutable("makeblastdb"));
    settings.setValue("tblastnpath", script.fileName());

    std::mt19937 engine(5);
    QString dna;
    dna.reserve(genomeLength);
    for (int i = 0; i < genomeLength; ++i)
        dna.append(QLatin1Char("ACGT"[engine() % 4u]));
    GC_GenomeScene scene;
    auto *genome = new GC_Genome;
    genome->setDnaSequence(dna);
    genome->setCoords(GC_Interval(1, genomeLength));
    scene.insertTopGenome(genome);
    scene.addItemsToScene();

    GC_COGTblastn_dialog dialog;
    dialog.setGenome(genome);
    dialog.setScene(&scene);
    dialog.show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Save)->click();
    });
    poll.start(10);
    timer.restart();
    dialog.findChild<QPushButton *>("searchButton")->click();
    while (dialog.isVisible())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    benchReport("cog_search_5mb_50k_lines_total", timer.elapsedMs(), "ms");
    benchReport("cog_search_5mb_50k_lines_added", genome->countCogMatchings(), "hits");
    return 0;
}
