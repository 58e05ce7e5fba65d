// The match-sequence dialog on a 5 Mb target: a search whose blastn output
// holds 100,000 hits (a stand-in that prints a prepared file, so the figure
// is the dialog's own cost: work files, database build, makeblastdb, output
// copy and import), then, with "real" as argument, a real megablast of a
// 5 Mb relative.
#include "bench_privatehome.h"
#include "bench_report.h"
#include "synthetic_genome.h"

#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_matchseqblastn_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

namespace {

// Clicks Save on the message box that ends the search.
void answerSave()
{
    QTimer::singleShot(20, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && box->isVisible())
            box->button(QMessageBox::Save) ? box->button(QMessageBox::Save)->click()
                                           : box->button(QMessageBox::Discard)->click();
        else
            answerSave();
    });
}

// Runs one search to its end; the number of matchings added.
int search(GC_GenomeScene &scene, const QString &queryPath, const QString &task)
{
    GC_MatchSeqBlastn_dialog dialog;
    dialog.setScene(&scene);
    dialog.setInputFile(queryPath);
    if (!task.isEmpty()) {
        // The task the dialog runs follows the list.
        QMetaObject::invokeMethod(&dialog, "on_blastCombobox_textActivated", Q_ARG(QString, task));
    }
    dialog.show();
    const int before = scene.countMatchings();
    answerSave();
    dialog.findChild<QPushButton *>("searchButton")->click();
    while (dialog.isVisible())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    if (dialog.result() != QDialog::Accepted)
        qFatal("the search failed");
    return scene.countMatchings() - before;
}

} // namespace

int main(int argc, char **argv)
{
    BenchPrivateHome folder("bench_matchseq");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool real = argc > 1 && QByteArray(argv[1]) == "real";

    const SyntheticGenome target = SyntheticGenome::random(5000000, 5000, 31, "Synthetic strain A");
    const SyntheticGenome relative = target.derived(SyntheticGenome::Changes(), 32, "Synthetic strain B");
    const QString queryPath = folder.filePath("query.fas");
    if (!relative.writeFasta(queryPath))
        qFatal("cannot write the query");

    // 100,000 hits as blastn prints them, and a stand-in that prints them.
    const int hitCount = 100000;
    const QString hitsPath = folder.filePath("hits.txt");
    {
        QFile hits(hitsPath);
        if (!hits.open(QIODevice::WriteOnly))
            qFatal("cannot write the hits");
        QRandomGenerator random(33);
        QByteArray text;
        for (int i = 0; i < hitCount; ++i) {
            const int s = 1 + random.bounded(4990000), q = 1 + random.bounded(4990000);
            const int length = 50 + random.bounded(5000);
            const bool reverse = random.bounded(2);
            text += QByteArray::number(reverse ? s + length : s) + '\t'
                    + QByteArray::number(reverse ? s : s + length) + '\t' + QByteArray::number(q)
                    + '\t' + QByteArray::number(q + length) + "\t97.5\t" + QByteArray::number(length)
                    + '\n';
        }
        hits.write(text);
    }
    const QString standIn = folder.filePath("blastn");
    {
        QFile script(standIn);
        if (!script.open(QIODevice::WriteOnly))
            qFatal("cannot write the stand-in");
        script.write("#!/bin/sh\nexec cat '" + QFile::encodeName(hitsPath) + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Each search gets a scene holding only the target.
    auto addTarget = [&target](GC_GenomeScene &scene) {
        auto *genome = new GC_Genome;
        genome->setName(target.name());
        genome->setDnaSequence(QString::fromLatin1(target.sequence()));
        genome->setCoords(GC_Interval(1, int(target.sequence().size())));
        scene.insertLowGenome(genome);
        scene.addItemsToScene();
    };
    GC_GenomeScene scene;
    addTarget(scene);

    QSettings().setValue("makeblastdbpath", QStandardPaths::findExecutable("makeblastdb"));
    QSettings().setValue("blastnpath", standIn);
    BenchTimer timer;
    const int added = search(scene, queryPath, QString());
    benchReport("matchseq_5mb_search_100000_hits_total", timer.elapsedMs(), "ms");
    benchReport("matchseq_hits_imported", added, "matchings");

    if (real) {
        QSettings().setValue("blastnpath", QStandardPaths::findExecutable("blastn"));
        GC_GenomeScene fresh;
        addTarget(fresh);
        timer.restart();
        const int found = search(fresh, queryPath, "megablast");
        benchReport("matchseq_5mb_relative_megablast_total", timer.elapsedMs(), "ms");
        benchReport("matchseq_5mb_relative_megablast_hits", found, "matchings");
    }
    return 0;
}
