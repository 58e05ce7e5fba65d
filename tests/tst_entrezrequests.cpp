#include "kestal_test.h"
#include "signal_wait.h"

#include "en_entrezservice.h"
#include "en_request_httptextdata.h"
#include "en_request_httptextfile.h"
#include "fake_entrez_server.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

// The request classes against a local HTTP server with canned answers.
class TestEntrezRequests : public QObject
{
    Q_OBJECT

private:
    FakeEntrezServer server;

    QUrl address(const char *path) const
    {
        QUrl url = server.baseUrl();
        url.setPath(QLatin1String(path));
        return url;
    }

    static QStringList temporaryFiles()
    {
        return QDir(QDir::tempPath()).entryList(QDir::Files);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.start());
    }

    void init() { server.reset(); }

    void addressComesFromTheUrl()
    {
        EN_Request_HttpTextData request;
        request.setUrl(QUrl("http://eutils.example.org/entrez/eutils/esearch.fcgi?db=x#top"));
        QCOMPARE(request.getHost(), QString("eutils.example.org"));
        QCOMPARE(request.getPath(), QString("/entrez/eutils/esearch.fcgi"));
        QCOMPARE(request.getPort(), 80);
        // The URL's own query is not kept: only added items are sent.
        QCOMPARE(request.getQuery(), QString());
        QCOMPARE(request.targetUrl().toString(), QString("http://eutils.example.org/entrez/eutils/esearch.fcgi"));

        request.setUrl(QUrl("http://eutils.example.org:8080/a"));
        QCOMPARE(request.getPort(), 8080);
        request.setUrl(QUrl("https://eutils.example.org/a"));
        QCOMPARE(request.getPort(), 443);
    }

    void queryItemsKeepOrderAndAreEncoded()
    {
        EN_Request_HttpTextData request;
        request.addQueryItem("db", QString("Nucleotide"));
        QCOMPARE(request.getQuery(), QString("?db=Nucleotide"));
        request.addQueryItem("retmax", 100);
        QCOMPARE(request.getQuery(), QString("?db=Nucleotide&retmax=100"));
        request.addQueryItem("term", QString("a b&c[GENE]+AND+é"));
        QCOMPARE(request.getQuery(),
                 QString("?db=Nucleotide&retmax=100&term=a+b%26c%5BGENE%5D%2BAND%2B%C3%A9"));

        EN_Request_HttpTextData empty;
        empty.addQueryItem("term", QString());
        QCOMPARE(empty.getQuery(), QString("?term="));
    }

    // Every value reaches the server whole, whatever the user typed in it.
    void getSendsEveryValueWholeAndReadsTheBody()
    {
        const QByteArray body = FakeEntrezServer::esearchAnswer({"15", "16"});
        server.setReply(FakeEntrezServer::esearchPath, body);
        EN_Request_HttpTextData request;
        request.setUrl(address(FakeEntrezServer::esearchPath));
        const QList<QPair<QString, QString>> items = {
            {"db", "Nucleotide"}, {"term", "tRNA&rRNA"}, {"gene", "C++"},
            {"note", "50% #1 = x,y [ORGN]"}, {"retmax", "5"}};
        for (const auto &item : items)
            request.addQueryItem(item.first, item.second);
        QSignalSpy done(&request, &EN_Request::done);
        QTest::ignoreMessage(QtDebugMsg,
                             "EN_Request_HttpTextData : /entrez/eutils/esearch.fcgi?db=Nucleotide"
                             "&term=tRNA%26rRNA&gene=C%2B%2B&note=50%25+%231+%3D+x%2Cy+%5BORGN%5D"
                             "&retmax=5");
        request.get();
        QVERIFY(done.isEmpty());  // the answer comes through the event loop
        QVERIFY(waitForSignal(done, 5000));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.at(0).at(0).toBool(), false);

        // Read back as a server reads a form-encoded query.
        QCOMPARE(server.targets().size(), 1);
        const QString target = server.targets().at(0);
        QVERIFY(target.startsWith("/entrez/eutils/esearch.fcgi?"));
        QList<QPair<QString, QString>> received;
        for (const QString &pair : target.section('?', 1).split('&')) {
            auto decode = [](QString text) {
                return QUrl::fromPercentEncoding(text.replace('+', ' ').toLatin1());
            };
            received.append({decode(pair.section('=', 0, 0)), decode(pair.section('=', 1))});
        }
        QCOMPARE(received, items);

        QVERIFY(request.data().isEmpty());
        QVERIFY(request.readResult());
        QCOMPARE(request.data(), body);
        QCOMPARE(request.errorString(), QString());
    }

    void failuresAreReportedAsErrors_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("http 500") << "500";
        QTest::newRow("http 404") << "404";
        QTest::newRow("connection dropped") << "drop";
        QTest::newRow("nobody listening") << "refused";
    }

    void failuresAreReportedAsErrors()
    {
        QFETCH(QString, how);
        QUrl url = address(FakeEntrezServer::efetchPath);
        if (how == "500")
            server.setReply(FakeEntrezServer::efetchPath, "oops", 500);
        else if (how == "drop")
            server.setDropped(FakeEntrezServer::efetchPath, true);
        else if (how == "refused") {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            url.setPort(closed.serverPort());
            closed.close();
        }
        // "404": no reply set for the path.
        EN_Request_HttpTextData request;
        request.setUrl(url);
        request.addQueryItem("id", QString("1"));
        QSignalSpy done(&request, &EN_Request::done);
        request.get();
        QVERIFY(waitForSignal(done, 5000));
        QCOMPARE(done.size(), 1);
        QCOMPARE(done.at(0).at(0).toBool(), true);
        QVERIFY(!request.errorString().isEmpty());
        if (how == "500" || how == "404")
            QVERIFY2(request.errorString().contains(how), qPrintable(request.errorString()));
        // Only the ended reply could report again: once the posted events, its
        // deletion among them, have gone through, nothing is left to.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(done.size(), 1);
    }

    void progressIsReportedWhileReading()
    {
        const QByteArray body(300000, 'a');
        server.setReply(FakeEntrezServer::efetchPath, body);
        EN_Request_HttpTextData request;
        request.setUrl(address(FakeEntrezServer::efetchPath));
        QSignalSpy progress(&request, &EN_Request::progressRead);
        QSignalSpy done(&request, &EN_Request::done);
        request.get();
        QVERIFY(waitForSignal(done, 5000));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toInt(), int(body.size()));
        QCOMPARE(progress.last().at(1).toInt(), int(body.size()));
        request.readResult();
        QCOMPARE(request.data().size(), body.size());
    }

    void destroyingARunningRequestAbortsIt()
    {
        server.setReply(FakeEntrezServer::efetchPath, "late");
        server.setHeld(FakeEntrezServer::efetchPath, true);
        auto *request = new EN_Request_HttpTextData;
        request->setUrl(address(FakeEntrezServer::efetchPath));
        QSignalSpy done(request, &EN_Request::done);
        request->get();
        QVERIFY(server.waitForCount(1));
        delete request;
        QCOMPARE(done.size(), 0);
        // The abort closes the connection unanswered: the late answer reaches nobody.
        QTRY_COMPARE_WITH_TIMEOUT(server.heldCount(), 0, 5000);
        server.release();
    }

    // The stand-in itself: going away with a client still connected closes
    // that connection and leaves nothing behind that fires later.
    void serverClosesItsOpenConnectionsWhenDestroyed()
    {
        auto *local = new FakeEntrezServer;
        QVERIFY(local->start());
        local->setHeld(FakeEntrezServer::efetchPath, true);
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, quint16(local->baseUrl().port()));
        QVERIFY(client.waitForConnected(5000));
        client.write(QByteArray("GET ") + FakeEntrezServer::efetchPath + " HTTP/1.1\r\n\r\n");
        QVERIFY(local->waitForCount(1));
        delete local;
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, 5000);
        QVERIFY(client.readAll().isEmpty());  // the held request was never answered
    }

    void fileVariantKeepsTheBodyInAFile()
    {
        const QByteArray body = "LOCUS x\n//\n";
        server.setReply(FakeEntrezServer::efetchPath, body);
        EN_Request_HttpTextFile request;
        request.setUrl(address(FakeEntrezServer::efetchPath));
        request.addQueryItem("id", QString("A1"));
        QSignalSpy done(&request, &EN_Request::done);
        QSignalSpy progress(&request, &EN_Request::progressRead);
        QTest::ignoreMessage(QtDebugMsg, "EN_Request_HttpTextFile : /entrez/eutils/efetch.fcgi?id=A1");
        request.get();
        QVERIFY(waitForSignal(done, 5000));
        QCOMPARE(done.at(0).at(0).toBool(), false);
        QVERIFY(progress.isEmpty());
        QCOMPARE(request.fileName(), QString());
        QVERIFY(request.readResult());
        QFile file(request.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), body);
        file.remove();

        // A body that begins with the character '0' is a "false" result.
        server.setReply(FakeEntrezServer::efetchPath, "0 records");
        EN_Request_HttpTextFile zero;
        zero.setUrl(address(FakeEntrezServer::efetchPath));
        QSignalSpy zeroDone(&zero, &EN_Request::done);
        zero.get();
        QVERIFY(waitForSignal(zeroDone, 5000));
        QVERIFY(!zero.readResult());
        QVERIFY(QFile::remove(zero.fileName()));
    }

    void fileVariantLeavesNoPartialFileAfterAFailure()
    {
        const QStringList before = temporaryFiles();
        server.setReply(FakeEntrezServer::efetchPath, "half an answer", 500);
        {
            EN_Request_HttpTextFile request;
            request.setUrl(address(FakeEntrezServer::efetchPath));
            QSignalSpy done(&request, &EN_Request::done);
            request.get();
            QVERIFY(waitForSignal(done, 5000));
            QCOMPARE(done.at(0).at(0).toBool(), true);
        }
        QCOMPARE(temporaryFiles(), before);
    }
};

KESTAL_TEST_MAIN(TestEntrezRequests)
#include "tst_entrezrequests.moc"
