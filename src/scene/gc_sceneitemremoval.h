#ifndef GC_SCENEITEMREMOVAL_H
#define GC_SCENEITEMREMOVAL_H

class GC_GenomeScene;

// The Remove command of the canvas, over the selected items: an annotation,
// gene or free text is deleted when the user agrees to it; matchings are
// hidden; a genome's ruler, GC-content bar and homology bars are switched
// off. Genomes are never removed here. Made for one command; it keeps
// nothing.
class GC_SceneItemRemoval
{
public:
    struct Outcome
    {
        bool changed = false;     // the document differs from before
        bool geneRemoved = false; // the coverage panel must count again
    };

    explicit GC_SceneItemRemoval(GC_GenomeScene *scene);

    // A label picked up stands for the item it names. With nothing
    // selected, says so and changes nothing.
    Outcome removeSelected();

private:
    GC_GenomeScene *m_scene;
};

#endif
