#include "gc_rundatabase.h"

#include "gc_log.h"
#include "gc_runmark.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
// What create() makes of "kestal-XXXXXX".
const char FolderPattern[] = "kestal-[A-Za-z0-9]{6}";
} // namespace

GC_RunDatabase::GC_RunDatabase(const QString &folder, std::unique_ptr<GC_RunMark> mark)
    : m_folder(folder)
    , m_mark(std::move(mark))
{
}

std::shared_ptr<GC_RunDatabase> GC_RunDatabase::create(QString *errorText)
{
    // mkdtemp: a new name, mode 700, never a folder that was there before.
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/kestal-XXXXXX"));
    if (!folder.isValid()) {
        if (errorText)
            *errorText = QStringLiteral("cannot make a folder for the comparison database in %1: %2")
                             .arg(QDir::tempPath(), folder.errorString());
        return nullptr;
    }
    folder.setAutoRemove(false);
    // Without the mark the run works all the same; only a kill would leave
    // the folder behind.
    QString markError;
    std::unique_ptr<GC_RunMark> mark = GC_RunMark::place(folder.path(), &markError);
    if (!mark)
        qCInfo(lcKestal).noquote() << markError;
    return std::shared_ptr<GC_RunDatabase>(new GC_RunDatabase(folder.path(), std::move(mark)));
}

QStringList GC_RunDatabase::removeEndedRuns()
{
    return GC_RunMark::removeEndedRuns(QDir::tempPath(), QRegularExpression(QLatin1String(FolderPattern)));
}

GC_RunDatabase::~GC_RunDatabase()
{
    // The database and the files SQLite keeps beside it while it writes.
    for (const char *suffix : {"", "-journal", "-wal", "-shm"}) {
        const QString file = path() + QLatin1String(suffix);
        const QFileInfo info(file);
        if ((info.exists() || info.isSymLink()) && !QFile::remove(file))
            qCDebug(lcKestal).noquote() << "GC_RunDatabase: cannot remove" << file;
    }
    m_mark.reset();
    // Fails, and keeps the folder, when it holds a file the run did not make.
    if (!QDir().rmdir(m_folder))
        qCDebug(lcKestal).noquote() << "GC_RunDatabase: cannot remove the folder" << m_folder;
}

QString GC_RunDatabase::path() const
{
    return m_folder + QStringLiteral("/comparison.kestal");
}
