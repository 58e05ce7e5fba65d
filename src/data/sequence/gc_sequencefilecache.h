#ifndef GC_SEQUENCEFILECACHE_H
#define GC_SEQUENCEFILECACHE_H

#include "gc_sequencefilereader.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

// Readings of sequence files, each kept while its file stays as it was read
// (same size, same modification and change times): a file checked when it
// is chosen is not read again when the choice is confirmed, and the
// comparison gets the reading itself.
class GC_SequenceFileCache
{
public:
    // The whole reading of path (GC_SequenceFileReader::read()), kept from
    // an earlier call or made now.
    const GC_SequenceFileReader &read(const QString &path);

    // Forgets the readings of every other file.
    void keepOnly(const QStringList &paths);

private:
    struct Reading
    {
        qint64 size = -1;
        QDateTime modified;
        QDateTime changed;
        std::shared_ptr<GC_SequenceFileReader> reader;
    };

    QHash<QString, Reading> m_readings;
};

#endif
