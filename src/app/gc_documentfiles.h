#ifndef GC_DOCUMENTFILES_H
#define GC_DOCUMENTFILES_H

#include <QString>
#include <QStringList>

class GC_GenomeScene;

// The scene's file readers, writer and image rendering as the shell calls
// them. Each answers whether it went through; a failure leaves its reason in
// the scene's lastErrorText.
class GC_DocumentFiles
{
public:
    static bool loadCanvas(GC_GenomeScene *scene, const QString &fileName);
    static bool loadGenome(GC_GenomeScene *scene, const QString &fileName, int genomeIndex);
    static bool loadComparisons(GC_GenomeScene *scene, const QStringList &databases);
    static bool save(GC_GenomeScene *scene);
    static bool exportImage(GC_GenomeScene *scene, const QString &fileName, const QString &format,
                            bool wholeCanvas, bool antialiasing);
};

#endif
