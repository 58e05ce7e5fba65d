#ifndef GC_CANVASWRITER_H
#define GC_CANVASWRITER_H

#include <QFile>
#include <QString>

class GC_GenomeScene;
class QSqlQuery;

// Writes the scene as a canvas file: every table, the file properties, the
// scene row, then each genome with its dependent rows, the matchings and
// the free texts. The file is written beside the canvas (behind any
// symbolic link to it) under the name with "temp" appended, with the
// permissions of the canvas it replaces, and only renamed over it when
// every statement and every COMMIT went through, so a failed save leaves
// the old file as it was. After a save the genomes read their stored rows
// from the new file.
class GC_CanvasWriter
{
public:
    explicit GC_CanvasWriter(GC_GenomeScene *scene);

    // Saves to the scene's file name. On failure the scene's lastErrorText
    // holds the reason and the scene stays modified.
    bool save();

    static QString fileProperties();
    static QString sceneTable();
    static QString tempFileName(const QString &canvasFileName);

private:
    bool writeAll(QSqlQuery &query);
    bool run(QSqlQuery &query, const QString &statement);
    bool fail(const QString &message);
    static bool syncToDisk(const QString &path);
    // The file a chain of symbolic links ends at (fileName itself when it
    // is no link); empty when the chain does not end.
    static QString fileBehindLinks(const QString &fileName);
    // The owner, group and other permissions of the file at path.
    static QFile::Permissions permissionsOf(const QString &path);

    GC_GenomeScene *m_scene;
    QString m_errorText;
};

#endif
