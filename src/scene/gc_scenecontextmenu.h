#ifndef GC_SCENECONTEXTMENU_H
#define GC_SCENECONTEXTMENU_H

class GC_Genome;
class GC_GenomeScene;
class QMenu;

// Builds the canvas context menu for the scene's current selection: the
// entries of the one kind of item selected (annotations, genomes, rulers,
// genes, matchings or one homology bar), then "Remove" and "Add Text". Each
// entry triggers a command slot of the scene.
class GC_SceneContextMenu
{
public:
    // clickedGenome is the genome under the cursor, or null. The caller
    // runs and deletes the menu.
    static QMenu *build(GC_GenomeScene *scene, GC_Genome *clickedGenome);
};

#endif
