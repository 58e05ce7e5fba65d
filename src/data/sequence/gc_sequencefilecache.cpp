#include "gc_sequencefilecache.h"

#include <QFileInfo>
#include <QSet>

const GC_SequenceFileReader &GC_SequenceFileCache::read(const QString &path)
{
    const QFileInfo info(path);
    Reading &reading = m_readings[path];
    const bool unchanged = reading.reader && info.exists() && info.size() == reading.size
                           && info.lastModified() == reading.modified
                           && info.metadataChangeTime() == reading.changed;
    if (!unchanged) {
        reading.size = info.size();
        reading.modified = info.lastModified();
        reading.changed = info.metadataChangeTime();
        reading.reader = std::make_shared<GC_SequenceFileReader>(path);
        reading.reader->read();
    }
    return *reading.reader;
}

void GC_SequenceFileCache::keepOnly(const QStringList &paths)
{
    const QSet<QString> kept(paths.cbegin(), paths.cend());
    for (auto it = m_readings.begin(); it != m_readings.end();) {
        if (kept.contains(it.key()))
            ++it;
        else
            it = m_readings.erase(it);
    }
}
