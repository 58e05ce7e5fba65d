#ifndef GC_EXTENDEDATTRIBUTES_H
#define GC_EXTENDEDATTRIBUTES_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The extended attributes of a file, its POSIX access list among them
// ("system.posix_acl_access"), read from one file to be given to another,
// so that a file put in another's place keeps who may use it.
class GC_ExtendedAttributes
{
public:
    // Reads every attribute of the file at path that this user can list.
    // False, with the reason in errorText(), when one cannot be read.
    bool read(const QString &path);

    // Gives the file open as fd exactly the attributes read: each is set,
    // and any the file has that the read file lacks (an access list
    // inherited from its folder) is taken off. Security labels this user
    // may not set are passed by. False, with errorText(), when another
    // attribute cannot be set or taken off.
    bool giveTo(int fd);

    QString errorText() const { return m_errorText; }

private:
    bool fail(const QByteArray &name, int error);

    QList<QPair<QByteArray, QByteArray>> m_attributes;
    QString m_errorText;
};

#endif
