// The program as main() runs it, made to compare the sequence files on its
// command line through the main window, as the open wizard would have it:
// tests start copies of it to end them with signals and to run two
// comparisons at once.
//
//   comparison_driver quit|stay <blastn> <query name> <target name> <file>...
//
// Once the opening has ended it prints one line "genome <name>\t<database>"
// per genome, then "opened 1" (or "opened 0"). Then it quits as Exit does
// ("quit") or runs on until it is ended ("stay").

#include "gc_fileutils.h"
#include "gc_genome.h"
#include "gc_genomescene.h"
#include "gc_programrun.h"
#include "gc_startup.h"
#include "kestal_main.h"

#include <QApplication>
#include <QSettings>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    GC_Startup::run();
    GC_ProgramRun programRun;

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 6) {
        QTextStream(stderr) << "usage: comparison_driver quit|stay <blastn> <query name> <target name> <file>...\n";
        return 2;
    }
    const bool quit = arguments.at(1) == "quit";
    QSettings().setValue("blastnpath", arguments.at(2));

    Kestal_Main window;
    window.show();
    QObject::connect(&window, &Kestal_Main::openFinished, &window, [&window, quit](bool ok) {
        QTextStream out(stdout);
        for (const GC_Genome *genome : window.genomeScene()->genomes())
            out << "genome " << genome->getName() << '\t' << genome->getDatabase() << '\n';
        out << "opened " << int(ok) << Qt::endl;
        if (quit) {
            window.genomeScene()->setModified(false);
            window.close();
        }
    });
    Kestal_Main::OpenRequest request;
    request.fileType = FILETYPE_GENBANK_FASTA;
    request.pairs = {{arguments.at(3), arguments.at(4)}};
    request.inputFiles = arguments.mid(5);
    window.startOpening(request);
    return app.exec();
}
