#include "gc_documentfiles.h"

#include "gc_genomescene.h"

namespace {
bool notAvailable(GC_GenomeScene *scene, const QString &what)
{
    scene->setLastErrorText(QString("%1 is not available in this build.").arg(what));
    return false;
}
} // namespace

bool GC_DocumentFiles::loadCanvas(GC_GenomeScene *scene, const QString &fileName)
{
    Q_UNUSED(fileName);
    return notAvailable(scene, "Reading canvas files");
}

bool GC_DocumentFiles::loadGenome(GC_GenomeScene *scene, const QString &fileName, int genomeIndex)
{
    Q_UNUSED(fileName);
    Q_UNUSED(genomeIndex);
    return notAvailable(scene, "Reading a sequence file");
}

bool GC_DocumentFiles::loadComparisons(GC_GenomeScene *scene, const QStringList &databases)
{
    Q_UNUSED(databases);
    return notAvailable(scene, "Reading comparison databases");
}

bool GC_DocumentFiles::save(GC_GenomeScene *scene)
{
    return notAvailable(scene, "Writing canvas files");
}

bool GC_DocumentFiles::exportImage(GC_GenomeScene *scene, const QString &fileName,
                                   const QString &format, bool wholeCanvas, bool antialiasing)
{
    // The rendering may append the format to the name; the caller keeps the
    // name as typed.
    QString target = fileName;
    return scene->exportImage(target, format, wholeCanvas, antialiasing);
}
