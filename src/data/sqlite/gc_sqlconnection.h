#ifndef GC_SQLCONNECTION_H
#define GC_SQLCONNECTION_H

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// A named QSQLITE connection that lives for one operation: opened on
// construction, closed and removed on destruction, so a failed operation
// can never leave a connection name taken. A read-only one first undoes a
// change left unfinished (undoUnfinishedChange).
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

    // How long a statement waits for a file another program holds locked
    // before it gives up, in milliseconds.
    static int busyTimeout();
    static void setBusyTimeout(int milliseconds);
    // The connect options of every connection the program opens on a file:
    // the busy wait, and read-only where asked.
    static QString connectOptions(Mode mode);

    // Why the file of this connection, path, cannot be read, in words for
    // the user (failureText), or damaged by SQLite's quick check; empty when
    // it can be read, and for a file that is no SQLite database at all (its
    // kind is the caller's to judge). From here on the connection reads
    // inside one transaction, until it goes: the file read is the file
    // checked, and no other program can lock it halfway through the reading.
    QString readProblem(const QString &path);

    // What SQLite's quick check finds wrong with the open file, in its own
    // words; empty when the file is intact. A file that cannot be checked
    // at all counts as damaged; failed (when given) then holds why the
    // check could not run, for failure() to judge.
    QString integrityProblem() const;
    static QString integrityProblem(const QSqlDatabase &db, QSqlError *failed = nullptr);
    // Why an open file cannot be read, as a reason inside a longer message
    // (failureReason, or the damage the check finds); empty when intact.
    static QString integrityReason(const QSqlDatabase &db);

    // What a statement that failed on a file says of the file. Decided here
    // alone, from SQLite's result code, so that every reader and the save
    // say the same.
    enum Failure {
        // SQLite finds the file damaged, or no database at all.
        Damaged,
        // Anything else: a statement the file does not fit (a table an
        // older file lacks), or a fault of the system. A reader that checked
        // the file first takes it, too, as a file it cannot read as the
        // database it is.
        Failed,
        // Another program holds it locked, still after the busy wait.
        InUse,
        // A program that stopped in the middle of a change left its journal
        // beside the file, and the change cannot be undone here (it needs
        // the file and its folder to be writable).
        LeftMidWrite,
        // The file is kept in write-ahead-log mode, and SQLite can neither
        // create its shared-memory file beside it nor open the one there (a
        // folder this user may not write). Healthy, but unreadable here.
        WriteAheadLogUnreadable,
    };
    static Failure failure(const QSqlError &error);
    // Whether the file is sound but cannot be read now or here: InUse,
    // LeftMidWrite or WriteAheadLogUnreadable, never damage.
    static bool isUnreadableHere(const QSqlError &error);
    // The user's words for it: damagedText (with the error as details),
    // inUseText, leftMidWriteText or writeAheadLogText.
    static QString failureText(const QString &path, const QSqlError &error);
    // The same as a reason inside a longer message.
    static QString failureReason(const QSqlError &error);
    // What the user is told of a damaged file, of a file another program
    // holds locked, and of one a stopped program left mid-write.
    static QString damagedText(const QString &path, const QString &problem);
    static QString inUseText(const QString &path);
    // The same for a file a save would replace.
    static QString inUseReplaceText(const QString &path);
    static QString leftMidWriteText(const QString &path);
    static QString writeAheadLogText(const QString &path);
    // A damaged file's problem as a reason inside a longer message.
    static QString damagedReason(const QString &problem);

    // The file SQLite keeps a file's journal and write-ahead log beside:
    // the real file behind any symbolic links on the path. The path itself
    // when no link leads elsewhere, or when it names no file.
    static QString realFile(const QString &path);

    // The 16 bytes an SQLite database file starts with.
    static QByteArray sqliteHeader();
    // Whether the file starts with SQLite's header, so that a failing check
    // means damage rather than some other kind of file.
    static bool isSqliteFile(const QString &path);

    // Whether a statement failed because another program holds the file
    // locked: failure() is InUse.
    static bool isInUse(const QSqlError &error);
    // Whether a failed statement failed because the file is damaged (as
    // opposed to, say, a table an older file does not have): failure() is
    // Damaged.
    static bool isDamage(const QSqlError &error);
    // The same for a statement on one table, which also counts as damaged
    // when the table is there but does not read as the program writes it
    // (only a missing table is a file of an older kind).
    static bool isDamage(const QSqlDatabase &db, const QString &table, const QSqlError &error);

private:
    // A program that stopped in the middle of a change leaves the file's
    // rollback journal beside it. The file is whole: SQLite puts it back as
    // it was before the change, but only through a connection that may
    // write, and a read-only one finds it unreadable until then. This does
    // it through a connection of its own (named after connectionName) before
    // a read-only one opens; whatever stops it (a file or folder this user
    // may not write, a lock still held), the reading that follows finds and
    // failure() names.
    static void undoUnfinishedChange(const QString &connectionName, const QString &path);

    QString m_name;
    QString m_errorText;
    bool m_reading = false;
};

#endif
