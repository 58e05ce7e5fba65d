// Another program that stops with an SQLite file open in the middle of a
// change, to be killed there:
//   stopped_writer_driver midwrite <file>
//     changes every genomes and genes row inside a transaction, with a
//     cache so small that changed pages go into the file before the commit;
//   stopped_writer_driver logged <file>
//     puts the file in write-ahead-log mode and commits a change into the
//     log, the file still open.
// It then prints "ready" (or "failed") and waits to be ended.

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <cstdio>
#include <unistd.h>

namespace {

bool change(QSqlQuery &query, const QString &how)
{
    if (how == QLatin1String("midwrite"))
        return query.exec("PRAGMA cache_size = 1") && query.exec("BEGIN")
            && query.exec("UPDATE genomes SET name = 'unfinished' , dnaSequence = 'ACGT'")
            && query.exec("UPDATE genes SET name = 'unfinished'");
    return how == QLatin1String("logged") && query.exec("PRAGMA journal_mode=WAL") && query.next()
        && query.value(0).toString() == QLatin1String("wal") && query.exec("UPDATE genomes SET name = 'logged'");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: stopped_writer_driver midwrite|logged <file>\n", stderr);
        return 2;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
    db.setDatabaseName(arguments.at(2));
    QSqlQuery query(db);
    const bool changed = db.open() && change(query, arguments.at(1));
    std::fputs(changed ? "ready\n" : "failed\n", stdout);
    std::fflush(stdout);
    for (;;)
        pause();
}
