#ifndef GC_CANVASREADER_H
#define GC_CANVASREADER_H

#include <QString>

class GC_GenomeScene;
class QSqlDatabase;

// Reads a canvas file into the scene's lists: every genome (with its ruler,
// genes and annotations) in the row it was saved from, every matching
// joined to the genomes its row names, every free text. Only the lists are
// filled; the main thread adds the items to the graphics scene. The file is
// opened read-only and never changed.
//
// A damaged file is refused before anything is read (SQLite's quick check),
// and every table's rows are read in full before the next statement runs,
// so a file that fails halfway is refused too and the scene is left as it
// was, never half filled.
class GC_CanvasReader
{
public:
    explicit GC_CanvasReader(GC_GenomeScene *scene);

    // False (with lastErrorText set) when the file is not a canvas or is
    // damaged.
    bool load(const QString &fileName);

private:
    bool read(const QSqlDatabase &db, const QString &fileName, QString *damage);

    GC_GenomeScene *m_scene;
};

#endif
