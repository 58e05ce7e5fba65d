#ifndef GC_THREADOPEN_H
#define GC_THREADOPEN_H

#include "gc_blastoptions.h"
#include "gc_fileutils.h"
#include "gc_genbankparser.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QThread>

class GC_GenomeScene;

// Opens one file, or compares a set of sequence files, into the scene on a
// thread of its own. The loaders only fill the scene's lists; the main window
// puts the items on the canvas once openingFinished(true) arrives.
// openingFinished(bool) is emitted exactly once per run, before finished().
class GC_ThreadOpen : public QThread
{
    Q_OBJECT

public:
    typedef QPair<QString, QString> NamePair;
    typedef QPair<int, int> IdPair;

    explicit GC_ThreadOpen(QObject *parent = nullptr);

    void setFileType(int fileType) { m_fileType = fileType; }
    void setScene(GC_GenomeScene *scene) { m_scene = scene; }
    void setGenomeIndex(int index) { m_genomeIndex = index; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    void setInputFiles(const QStringList &files) { m_inputFiles = files; }
    // Input files already read, by path: they are not read again.
    void setGenbankRecords(const QMap<QString, GC_GenbankParser> &records) { m_genbankRecords = records; }
    void setFastaSequences(const QMap<QString, QString> &sequences) { m_fastaSequences = sequences; }
    void setPairs(const QList<NamePair> &pairs) { m_pairs = pairs; }
    void setBlastOptions(const GC_BlastOptions &options) { m_blastOptions = options; }

    int fileType() const { return m_fileType; }

    // Why the last run failed, in words for the user; empty after success.
    // Read it once openingFinished(false) has arrived.
    QString lastErrorText() const { return m_lastErrorText; }
    // What the user should be told about a successful opening, one
    // sentence each: the FASTA records a single genome leaves out, the
    // chosen pairs that were not compared, the compared pairs BLAST found no
    // matches for.
    QStringList notices() const { return m_notices; }

    // Each (query name, target name) becomes (target id, query id). A pair
    // naming a genome that was not built is left out; the pair and the
    // genome not read are said in skipped.
    static QList<IdPair> makeIdPairs(const QList<NamePair> &pairs, const QMap<QString, int> &ids,
                                     QStringList *skipped = nullptr);

signals:
    void openingFinished(bool ok);
    void message(QString text);

protected:
    void run() override;

private:
    bool open();
    bool readableFile();
    bool compareAndLoad();

    int m_fileType = FILETYPE_NONE;
    GC_GenomeScene *m_scene = nullptr;
    int m_genomeIndex = 0;
    QString m_fileName;
    QStringList m_inputFiles;
    QMap<QString, GC_GenbankParser> m_genbankRecords;
    QMap<QString, QString> m_fastaSequences;
    QList<NamePair> m_pairs;
    GC_BlastOptions m_blastOptions;
    QString m_lastErrorText;
    QStringList m_notices;
};

#endif
