#ifndef GC_CANVASREADER_H
#define GC_CANVASREADER_H

#include <QString>

class GC_GenomeScene;

// Reads a canvas file into the scene's lists: every genome (with its ruler,
// genes and annotations) in the row it was saved from, every matching
// joined to the genomes its row names, every free text. Only the lists are
// filled; the main thread adds the items to the graphics scene. The file is
// opened read-only and never changed.
class GC_CanvasReader
{
public:
    explicit GC_CanvasReader(GC_GenomeScene *scene);

    // False (with lastErrorText set) when the file is not a canvas.
    bool load(const QString &fileName);

private:
    GC_GenomeScene *m_scene;
};

#endif
