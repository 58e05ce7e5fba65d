#ifndef BENCH_PRIVATEHOME_H
#define BENCH_PRIVATEHOME_H

#include <QString>
#include <QTemporaryDir>

// A temporary folder that a benchmark uses as its home, temporary and
// settings folder, so that its settings, work files and databases never
// touch the user's; the settings identity is "KestalBench" and the bench's
// name. Made before the application object.
class BenchPrivateHome
{
public:
    explicit BenchPrivateHome(const char *benchName);

    QString path() const { return m_folder.path(); }
    QString filePath(const QString &fileName) const { return m_folder.filePath(fileName); }

private:
    QTemporaryDir m_folder;
};

#endif
