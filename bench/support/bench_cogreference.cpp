#include "bench_cogreference.h"

#include <QChar>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QString cogCode(int index)
{
    return QString("COG%1").arg(index, 4, 10, QChar('0'));
}

} // namespace

void BenchCogReference::write(const QString &path) const
{
    const QString connection = QStringLiteral("bench_cog_reference");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        query.exec("CREATE TABLE cog_proteins (id INTEGER PRIMARY KEY, code_cog TEXT, sequence_length INTEGER)");
        query.exec("CREATE TABLE cog_orthologies_groups (code_cog TEXT, code_group TEXT)");
        query.exec("CREATE INDEX cog_orthologies_groups_code ON cog_orthologies_groups (code_cog)");
        query.exec("CREATE TABLE cog_groups (code TEXT, name TEXT, class_id INTEGER)");
        if (withCogNames)
            query.exec("CREATE TABLE cog_orthologies (code TEXT, name TEXT)");
        query.exec("BEGIN");
        const int lastProteinId = firstProteinId + proteinCount - 1;
        query.prepare("INSERT INTO cog_proteins VALUES (?, ?, ?)");
        for (int id = firstProteinId; id <= lastProteinId; ++id) {
            query.bindValue(0, id);
            query.bindValue(1, cogCode(cogCount > 0 ? id % cogCount : id));
            query.bindValue(2, proteinLength);
            query.exec();
        }
        const int cogs = cogCount > 0 ? cogCount : proteinCount;
        query.prepare("INSERT INTO cog_orthologies_groups VALUES (?, ?)");
        for (int i = firstProteinId; i < firstProteinId + cogs; ++i) {
            query.bindValue(0, cogCode(i));
            query.bindValue(1, QString(QChar('A' + i % 25)));
            query.exec();
        }
        query.prepare("INSERT INTO cog_groups VALUES (?, ?, ?)");
        for (int i = 0; i < 25; ++i) {
            query.bindValue(0, QString(QChar('A' + i)));
            query.bindValue(1, QString("group %1").arg(i));
            query.bindValue(2, 1 + i % 4);
            query.exec();
        }
        query.exec("COMMIT");
    }
    QSqlDatabase::removeDatabase(connection);
}
