#ifndef GC_SCENEHOMOLOGYDIALOGS_H
#define GC_SCENEHOMOLOGYDIALOGS_H

#include "gc_genomesource.h"

class GC_CogPieDialog;
class GC_Genome;
class GC_GenomeScene;
class QWidget;

// Routes the homology bar commands of the canvas to their dialogs. The
// show and search commands act on the first selected genome: a stored-hit
// show dialog or a search dialog of the family runs modally for one use,
// then the bar is shown and re-placed. The COG statistics dialog is made
// once and lives as long as the router.
class GC_SceneHomologyDialogs
{
public:
    explicit GC_SceneHomologyDialogs(GC_GenomeScene *scene);
    ~GC_SceneHomologyDialogs();
    GC_SceneHomologyDialogs(const GC_SceneHomologyDialogs &) = delete;
    GC_SceneHomologyDialogs &operator=(const GC_SceneHomologyDialogs &) = delete;

    GC_CogPieDialog *cogPieDialog() const { return m_cogPieDialog; }

    // Hides a shown bar; otherwise shows it, loading the stored hits
    // through the show dialog when the bar holds none.
    void toggleHomologyBar(GC_GenomeSource::Family family);
    // Shows or hides the bar; stored hits are loaded only when there are some.
    void showHideHomologyBar(GC_GenomeSource::Family family, bool show);
    // Runs the family's search dialog; when it ends accepted the bar and
    // the scene-wide switch go on.
    void searchHomologies(GC_GenomeSource::Family family);
    // Fills the COG statistics dialog from the one selected COG bar and
    // shows it.
    void showCogStatistics();

private:
    // Runs the family's show dialog on the genome; true when it ended
    // accepted, that is when the stored hits were loaded into its bar.
    bool loadStoredHomologies(GC_GenomeSource::Family family, GC_Genome *genome);

    GC_GenomeScene *m_scene;
    QWidget *m_mainWindow;
    GC_CogPieDialog *m_cogPieDialog;
};

#endif
