#include "comparison_database_fixture.h"

#include "gc_comparisondatabase.h"
#include "gc_comparisondatabasebuilder.h"
#include "gc_sqlconnection.h"
#include "test_data.h"

#include <QDir>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace ComparisonDatabaseFixture {

bool build(const QString &folder, const QString &path, const QList<Genome> &genomes,
           QString *error)
{
    QStringList files;
    for (int i = 0; i < genomes.size(); ++i) {
        const Genome &genome = genomes.at(i);
        QByteArray features;
        for (int g = 0; g < genome.genes.size(); ++g) {
            const int from = genome.genes.at(g).first;
            const int to = genome.genes.at(g).second;
            const QByteArray location = from <= to
                ? QByteArray::number(from) + ".." + QByteArray::number(to)
                : "complement(" + QByteArray::number(to) + ".." + QByteArray::number(from) + ")";
            features += "     CDS             " + location + "\n";
            features += "                     /locus_tag=\"" + genome.name.toLatin1() + "_"
                        + QByteArray::number(g) + "\"\n";
            features += "                     /product=\"protein " + QByteArray::number(g) + "\"\n";
            features += "                     /note=\"note " + QByteArray::number(g) + "\"\n";
        }
        const QString file = QDir(folder).filePath(QStringLiteral("genome%1_%2.gb")
                                                       .arg(i)
                                                       .arg(QString::number(qHash(path))));
        if (!TestData::writeFile(file, TestData::genbankRecord(
                                           genome.name, features,
                                           TestData::randomDna(genome.length, genome.seed)))) {
            if (error)
                *error = QStringLiteral("cannot write %1").arg(file);
            return false;
        }
        files << file;
    }
    GC_ComparisonDatabaseBuilder builder;
    builder.setPath(path);
    builder.setGenbankFiles(files);
    QMap<QString, int> ids;
    if (!builder.build(ids)) {
        if (error)
            *error = builder.lastErrorText();
        return false;
    }
    return true;
}

bool addMatchings(const QString &path, const QList<Matching> &matchings, QString *error)
{
    GC_SqlConnection connection(QStringLiteral("comparison_fixture"), path);
    if (!connection.isOpen()) {
        if (error)
            *error = connection.errorText();
        return false;
    }
    QSqlQuery query(connection.database());
    bool ok = query.exec(QStringLiteral("BEGIN"))
              && query.prepare(GC_ComparisonDatabase::insertMatchingStatement());
    for (const Matching &m : matchings) {
        if (!ok)
            break;
        for (const QVariant &value :
             {QVariant(m.target), QVariant(m.targetFrom), QVariant(m.targetTo), QVariant(m.query),
              QVariant(m.queryFrom), QVariant(m.queryTo), QVariant(QString()), QVariant(QString()),
              QVariant(m.similarity), QVariant(m.bitScore)})
            query.addBindValue(value);
        ok = query.exec();
    }
    ok = ok && query.exec(QStringLiteral("COMMIT"));
    if (!ok && error)
        *error = query.lastError().text();
    return ok;
}

QList<QPair<int, int>> evenGenes(int length, int count)
{
    QList<QPair<int, int>> genes;
    const int step = length / (count + 1);
    for (int g = 0; g < count; ++g) {
        const int from = 1 + g * step;
        const int to = from + 29;
        genes.append(g % 3 == 2 ? qMakePair(to, from) : qMakePair(from, to));
    }
    return genes;
}

} // namespace ComparisonDatabaseFixture
