#ifndef GC_SQLCONNECTION_H
#define GC_SQLCONNECTION_H

#include <QSqlDatabase>
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

private:
    QString m_name;
    QString m_errorText;
};

#endif
