#ifndef GC_SQLCONNECTION_H
#define GC_SQLCONNECTION_H

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// A named QSQLITE connection that lives for one operation: opened on
// construction, closed and removed on destruction, so a failed operation
// can never leave a connection name taken.
class GC_SqlConnection
{
public:
    enum Mode { ReadWrite, ReadOnly };

    GC_SqlConnection(const QString &connectionName, const QString &path, Mode mode = ReadWrite);
    ~GC_SqlConnection();
    GC_SqlConnection(const GC_SqlConnection &) = delete;
    GC_SqlConnection &operator=(const GC_SqlConnection &) = delete;

    bool isOpen() const;
    QSqlDatabase database() const;
    QString errorText() const { return m_errorText; }

    // What SQLite's quick check finds wrong with the open file, in its own
    // words; empty when the file is intact. A file that cannot be checked
    // at all counts as damaged.
    QString integrityProblem() const;
    static QString integrityProblem(const QSqlDatabase &db);
    // The quick check of path, the file of this connection, where it is an
    // SQLite file: a damaged one may not even show its kind. Empty for an
    // intact file and for a file that is no SQLite database at all.
    QString damage(const QString &path) const;
    // What the user is told of a damaged file.
    static QString damagedText(const QString &path, const QString &problem);

    // Whether the file starts with SQLite's header, so that a failing check
    // means damage rather than some other kind of file.
    static bool isSqliteFile(const QString &path);

    // Whether a failed statement failed because the file is damaged (as
    // opposed to, say, a table an older file does not have).
    static bool isDamage(const QSqlError &error);
    // The same for a statement on one table, which also counts as damaged
    // when the table is there but does not read as the program writes it
    // (only a missing table is a file of an older kind).
    static bool isDamage(const QSqlDatabase &db, const QString &table, const QSqlError &error);

private:
    QString m_name;
    QString m_errorText;
};

#endif
