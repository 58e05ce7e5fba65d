#ifndef GC_CANVASWRITER_H
#define GC_CANVASWRITER_H

#include <QString>

class GC_GenomeScene;
class QSqlQuery;

// Writes the scene as a canvas file: every table, the file properties, the
// scene row, then each genome with its dependent rows, the matchings and
// the free texts, into a new file that replaces the canvas (see
// GC_FileReplacement) only when every statement and every COMMIT went
// through, so a failed save leaves the old file as it was. After a save the
// genomes read their stored rows from the new file.
class GC_CanvasWriter
{
public:
    explicit GC_CanvasWriter(GC_GenomeScene *scene);

    // Saves to the scene's file name. On failure the scene's lastErrorText
    // holds the reason and the scene stays modified.
    bool save();

    static QString fileProperties();
    static QString sceneTable();

private:
    bool writeAll(QSqlQuery &query);
    bool run(QSqlQuery &query, const QString &statement);
    bool markUnfinished(QSqlQuery &query);
    bool fail(const QString &message);

    GC_GenomeScene *m_scene;
    QString m_errorText;
};

#endif
