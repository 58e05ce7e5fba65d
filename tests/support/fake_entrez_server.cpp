#include "fake_entrez_server.h"

#include <QTcpSocket>
#include <QTest>

FakeEntrezServer::FakeEntrezServer(QObject *parent)
    : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, &FakeEntrezServer::accept);
}

FakeEntrezServer::~FakeEntrezServer()
{
    // The sockets are children of the listening server, a member that goes
    // after the others: close them now, while their destroyed() handlers
    // would still find pending alive, and with those handlers cut.
    server.close();
    const QList<QTcpSocket *> sockets = server.findChildren<QTcpSocket *>();
    for (QTcpSocket *socket : sockets) {
        disconnect(socket, nullptr, this, nullptr);
        socket->abort();
        delete socket;
    }
    pending.clear();
    waiting.clear();
}

bool FakeEntrezServer::start()
{
    return server.listen(QHostAddress::LocalHost, 0);
}

QUrl FakeEntrezServer::baseUrl() const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(server.serverPort());
    return url;
}

void FakeEntrezServer::setReply(const QString &path, const QByteArray &body, int status)
{
    replies.insert(path, Reply{body, status});
}

void FakeEntrezServer::setHeld(const QString &path, bool value)
{
    held.insert(path, value);
}

void FakeEntrezServer::setDropped(const QString &path, bool value)
{
    dropped.insert(path, value);
}

void FakeEntrezServer::release()
{
    const auto list = waiting;
    waiting.clear();
    for (const auto &entry : list) {
        if (entry.first)
            answer(entry.first, entry.second);
    }
}

void FakeEntrezServer::reset()
{
    replies.clear();
    held.clear();
    dropped.clear();
    waiting.clear();
    received.clear();
}

QStringList FakeEntrezServer::queriesFor(const QString &path) const
{
    QStringList queries;
    for (const QString &target : received) {
        const int mark = target.indexOf(QLatin1Char('?'));
        const QString targetPath = mark < 0 ? target : target.left(mark);
        if (targetPath == path)
            queries << QUrl::fromPercentEncoding(target.mid(mark).toLatin1());
    }
    return queries;
}

bool FakeEntrezServer::waitForCount(int n, int timeoutMs)
{
    return QTest::qWaitFor([&] { return received.size() >= n; }, timeoutMs);
}

void FakeEntrezServer::accept()
{
    while (QTcpSocket *socket = server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        // A client that gave up on a held request is owed no answer.
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            waiting.removeIf([socket](const auto &entry) { return entry.first == socket; });
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { pending.remove(socket); });
    }
}

void FakeEntrezServer::readRequest(QTcpSocket *socket)
{
    QByteArray &buffer = pending[socket];
    buffer += socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QByteArray requestLine = buffer.left(buffer.indexOf("\r\n"));
    buffer.remove(0, end + 4);
    const QList<QByteArray> parts = requestLine.split(' ');
    const QString target = parts.size() >= 2 ? QString::fromLatin1(parts.at(1)) : QString();
    received << target;
    const int mark = target.indexOf(QLatin1Char('?'));
    const QString path = mark < 0 ? target : target.left(mark);

    if (dropped.value(path)) {
        socket->abort();
        return;
    }
    if (held.value(path)) {
        waiting.append({QPointer<QTcpSocket>(socket), path});
        return;
    }
    answer(socket, path);
}

void FakeEntrezServer::answer(QTcpSocket *socket, const QString &path)
{
    const bool known = replies.contains(path);
    const Reply reply = known ? replies.value(path) : Reply{QByteArray("Not Found"), 404};
    const QByteArray reason = reply.status == 200 ? "OK" : reply.status == 404 ? "Not Found" : "Error";
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reason + "\r\n";
    head += "Content-Type: text/plain\r\n";
    head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    socket->write(reply.body);
    socket->disconnectFromHost();
}

QByteArray FakeEntrezServer::esearchAnswer(const QStringList &ids)
{
    QByteArray text = "<?xml version=\"1.0\" ?>\n<eSearchResult><Count>"
                      + QByteArray::number(ids.size()) + "</Count><RetMax>"
                      + QByteArray::number(ids.size()) + "</RetMax><RetStart>0</RetStart>\n<IdList>\n";
    for (const QString &id : ids)
        text += "<Id>" + id.toLatin1() + "</Id>\n";
    text += "</IdList></eSearchResult>\n";
    return text;
}

QByteArray FakeEntrezServer::docSum(const QString &gi, const QString &caption,
                                    const QString &title, const QString &length)
{
    QByteArray text = "<DocSum>\n\t<Id>" + gi.toLatin1() + "</Id>\n";
    if (!caption.isNull())
        text += "\t<Item Name=\"Caption\" Type=\"String\">" + caption.toLatin1() + "</Item>\n";
    if (!title.isNull())
        text += "\t<Item Name=\"Title\" Type=\"String\">" + title.toLatin1() + "</Item>\n";
    text += "\t<Item Name=\"Extra\" Type=\"String\">gi|" + gi.toLatin1() + "</Item>\n";
    if (!gi.isNull())
        text += "\t<Item Name=\"Gi\" Type=\"Integer\">" + gi.toLatin1() + "</Item>\n";
    if (!length.isNull())
        text += "\t<Item Name=\"Length\" Type=\"Integer\">" + length.toLatin1() + "</Item>\n";
    text += "</DocSum>\n";
    return text;
}

QByteArray FakeEntrezServer::esummaryAnswer(const QList<QByteArray> &docSums)
{
    QByteArray text = "<?xml version=\"1.0\" ?>\n<eSummaryResult>\n";
    for (const QByteArray &one : docSums)
        text += one;
    text += "</eSummaryResult>\n";
    return text;
}

QByteArray FakeEntrezServer::genbankRecord(const QString &locus, const QString &definitionLines,
                                           const QString &sequence)
{
    QByteArray text = "LOCUS       " + locus.toLatin1() + "  " + QByteArray::number(sequence.size())
                      + " bp    DNA     linear   PHG 01-JAN-2020\n";
    text += "DEFINITION  " + definitionLines.toLatin1() + "\n";
    text += "ACCESSION   " + locus.toLatin1() + "\n";
    text += "VERSION     " + locus.toLatin1() + ".1\n";
    text += "FEATURES             Location/Qualifiers\n";
    text += "     source          1.." + QByteArray::number(sequence.size()) + "\n";
    text += "ORIGIN\n";
    for (int i = 0; i < sequence.size(); i += 60)
        text += QByteArray::number(i + 1).rightJustified(9, ' ') + ' '
                + sequence.mid(i, 60).toLatin1() + "\n";
    text += "//\n";
    return text;
}
