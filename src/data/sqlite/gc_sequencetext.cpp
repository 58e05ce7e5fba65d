#include "gc_sequencetext.h"

#include <QByteArray>
#include <QSqlQuery>

#include <algorithm>

QVariant GC_SequenceText::bound(const QString &sequence)
{
    return sequence.isEmpty() ? QVariant(sequence) : QVariant(sequence.toUtf8());
}

QString GC_SequenceText::column(const QSqlDatabase &db, const QString &column)
{
    QSqlQuery encoding(db);
    const bool utf8 = encoding.exec(QStringLiteral("PRAGMA encoding")) && encoding.next()
                      && encoding.value(0).toString() == QLatin1String("UTF-8");
    return utf8 ? QStringLiteral("CAST( %1 AS BLOB )").arg(column) : column;
}

QString GC_SequenceText::value(const QVariant &column)
{
    if (column.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(column.toByteArray());
    return column.toString();
}

QByteArray GC_SequenceText::latin1(const QVariant &column)
{
    // ASCII bytes are their own Latin-1: no conversion at all.
    if (column.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = column.toByteArray();
        if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }))
            return bytes;
    }
    return value(column).toLatin1();
}
