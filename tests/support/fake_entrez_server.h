#ifndef FAKE_ENTREZ_SERVER_H
#define FAKE_ENTREZ_SERVER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A stand-in for the NCBI E-utilities: a small HTTP/1.1 server on 127.0.0.1
// (any free port) that answers each GET with the canned reply set for its
// path and records every request target exactly as it arrived. Point the
// program at it with EN_EntrezService::setBaseUrl(server.baseUrl()).
//
// A path without a reply answers 404. A path can instead be held (the answer
// waits until release()) or dropped (the connection closes without an answer).
class FakeEntrezServer : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *esearchPath = "/entrez/eutils/esearch.fcgi";
    static constexpr const char *esummaryPath = "/entrez/eutils/esummary.fcgi";
    static constexpr const char *efetchPath = "/entrez/eutils/efetch.fcgi";

    explicit FakeEntrezServer(QObject *parent = nullptr);
    ~FakeEntrezServer() override;

    // Listens on 127.0.0.1; false when no port could be had.
    bool start();
    QUrl baseUrl() const;

    void setReply(const QString &path, const QByteArray &body, int status = 200);
    void setHeld(const QString &path, bool held);
    void setDropped(const QString &path, bool dropped);
    // Sends the answers of every held request.
    void release();
    // Forgets replies, holds, drops and recorded requests.
    void reset();

    // Request targets (path and query as sent on the wire), oldest first.
    QStringList targets() const { return received; }
    // Targets whose path is path, query percent-decoded.
    QStringList queriesFor(const QString &path) const;
    int count() const { return received.size(); }
    // Waits (running the event loop) until count() reaches n.
    bool waitForCount(int n, int timeoutMs = 5000);
    // Held requests still waiting for release() on an open connection.
    int heldCount() const { return int(waiting.size()); }

    // Canned Entrez answers.
    static QByteArray esearchAnswer(const QStringList &ids);
    static QByteArray docSum(const QString &gi, const QString &caption, const QString &title,
                             const QString &length);
    static QByteArray esummaryAnswer(const QList<QByteArray> &docSums);
    // A short Genbank flat-file record, ending with its "//" line.
    static QByteArray genbankRecord(const QString &locus, const QString &definitionLines,
                                    const QString &sequence);

private:
    struct Reply
    {
        QByteArray body;
        int status = 200;
    };

    void accept();
    void readRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QString &path);

    QTcpServer server;
    QHash<QString, Reply> replies;
    QHash<QString, bool> held;
    QHash<QString, bool> dropped;
    QHash<QTcpSocket *, QByteArray> pending;
    QList<QPair<QPointer<QTcpSocket>, QString>> waiting;
    QStringList received;
};

#endif
