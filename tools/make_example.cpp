// Makes the bundled example canvas from two Genbank files by the program's
// own road: the comparison database is built, the pair is compared with the
// real BLAST+, the result is loaded into a scene laid out for the view of a
// main window at its first start, and the scene is saved as a canvas file.
//
//   kestal_make_example OUTPUT.kcv TARGET.gb QUERY.gb [TASK]
//
// TASK defaults to the open wizard's default, "dc-megablast". Run it through
// scripts/make_example.sh, which keeps the settings and work files away from
// the user's home folder.

#include "gc_blastoptions.h"
#include "gc_builddatabase.h"
#include "gc_comparisonreader.h"
#include "gc_fileutils.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_genomeview.h"
#include "gc_rundatabase.h"
#include "gc_sequenceblaster.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

int fail(const QString &message)
{
    QTextStream(stderr) << "kestal_make_example: " << message << Qt::endl;
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VEXA");
    QCoreApplication::setApplicationName("Kestal");

    const QStringList args = app.arguments();
    if (args.size() < 4 || args.size() > 5)
        return fail("usage: kestal_make_example OUTPUT.kcv TARGET.gb QUERY.gb [TASK]");
    const QString output = QFileInfo(args.at(1)).absoluteFilePath();
    const QString targetFile = args.at(2);
    const QString queryFile = args.at(3);
    const QString task = args.size() == 5 ? args.at(4) : QStringLiteral("dc-megablast");

    // Genomes are named by their definition, as in the open wizard.
    const QString targetName = GC_FileUtils::genbankDefinition(targetFile);
    const QString queryName = GC_FileUtils::genbankDefinition(queryFile);
    if (targetName.isEmpty() || queryName.isEmpty())
        return fail("both inputs must be Genbank files with a DEFINITION and an ACCESSION line");
    if (targetName == queryName)
        return fail("the two genomes have the same name: " + targetName);

    QMap<QString, int> ids;
    QString error;
    const std::shared_ptr<GC_RunDatabase> database =
        gc_buildDatabase(QStringList() << targetFile << queryFile, QMap<QString, QString>(), ids, &error);
    if (!database)
        return fail("cannot build the comparison database: " + error);

    GC_BlastOptions options;
    options.setTask(task);
    GC_SequenceBlaster blaster;
    blaster.setOptions(options);
    const QList<GC_ComparisonReader::IdPair> pairs{{ids.value(targetName), ids.value(queryName)}};
    blaster.setPairs(pairs);
    blaster.setDatabase(database->path());
    blaster.blastHanged();
    if (!blaster.result())
        return fail("the comparison with BLAST+ failed: " + blaster.lastErrorText());

    // Read as the opening thread reads it, told the compared pair.
    GC_GenomeScene scene;
    GC_ComparisonReader reader(&scene);
    reader.setComparedPairs(pairs);
    if (!reader.load(QStringList() << blaster.database()) || !scene.lastErrorText().isEmpty())
        return fail("cannot read the comparison: " + scene.lastErrorText());
    if (!reader.pairsWithoutMatchings().isEmpty())
        return fail("BLAST found no matches between the two genomes");
    GC_GenomeView view;
    view.setScene(&scene);
    view.resize(740, 500);
    view.show();
    QCoreApplication::processEvents();
    scene.addItemsToScene();
    scene.slotViewAdjustToWidth();

    // The writer replaces an older example only once the new one is whole.
    scene.setFileName(output);
    if (!scene.saveToKestalCanvas())
        return fail("cannot save the canvas: " + scene.lastErrorText());
    if (GC_FileUtils::filetype(output) != FILETYPE_CANVAS)
        return fail(output + " was not written as a canvas");

    int genes = 0;
    for (GC_Genome *genome : scene.genomes())
        genes += genome->countGenes();
    QTextStream(stdout) << output << ": " << scene.genomes().size() << " genomes, " << genes << " genes, "
                        << scene.countMatchings() << " matchings (" << task << ")" << Qt::endl;
    return 0;
}
