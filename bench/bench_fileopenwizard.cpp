// The open wizard with realistic inputs: two 5 Mb Genbank files with 5,000
// genes each and two 5 Mb FASTA files. Figures: the readings that "Add"
// makes (kept for Next and the comparison), and the files page's Next when
// nothing was added through "Add" (every file read there).
#include "bench_report.h"
#include "synthetic_genome.h"

#include "gc_fileopenwizard.h"
#include "gc_fileutils.h"
#include "gc_sequencefilereader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;

    const SyntheticGenome first = SyntheticGenome::random(5000000, 5000, 7, "Wizard bench one");
    const SyntheticGenome second = first.derived(SyntheticGenome::Changes(), 8, "Wizard bench two");
    const SyntheticGenome third = SyntheticGenome::random(5000000, 5000, 9, "Wizard bench three");
    const SyntheticGenome fourth = third.derived(SyntheticGenome::Changes(), 10, "Wizard bench four");
    const QStringList files = {folder.filePath("one.gb"), folder.filePath("two.gb"),
                               folder.filePath("three.fasta"), folder.filePath("four.fasta")};
    if (!first.writeGenbank(files.at(0)) || !second.writeGenbank(files.at(1))
        || !third.writeFasta(files.at(2)) || !fourth.writeFasta(files.at(3))) {
        QTextStream(stderr) << "cannot write the inputs" << Qt::endl;
        return 1;
    }

    // What "Add" reads of each chosen file: all of it, features included.
    BenchTimer clock;
    int accepted = 0;
    for (const QString &path : files)
        accepted += GC_SequenceFileReader(path).read() ? 1 : 0;
    benchReport("wizard_add_checks_4x5Mb", clock.elapsedMs(), "ms");
    if (accepted != files.size())
        return 1;

    GC_FileOpenWizard wizard;
    wizard.show();
    wizard.button(QWizard::NextButton)->click();
    auto *list = wizard.findChild<QListWidget *>("listInputFiles");
    list->addItems(files);
    clock.restart();
    wizard.button(QWizard::NextButton)->click();
    const double elapsed = clock.elapsedMs();
    if (wizard.currentId() != 5 || wizard.fastaSequences().size() != 2 || wizard.inputFiles().size() != 2) {
        QTextStream(stderr) << "the pairs page was not reached as expected" << Qt::endl;
        return 1;
    }
    benchReport("wizard_files_page_next_4x5Mb", elapsed, "ms");
    return 0;
}
