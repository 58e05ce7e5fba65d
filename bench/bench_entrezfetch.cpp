// An efetch answer of realistic size, cut into records and written as
// Genbank files, and the same answer received through a request from a
// local server.
#include "bench_report.h"

#include "en_request_httptextdata.h"
#include "gc_genbankrecordwriter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace {

// count records of length bp each, with a two-line DEFINITION.
QByteArray efetchAnswer(int count, int length)
{
    QRandomGenerator random(7);
    const char letters[] = "acgt";
    QByteArray answer;
    for (int r = 0; r < count; ++r) {
        answer += "LOCUS       NC_" + QByteArray::number(r) + "  " + QByteArray::number(length) + " bp DNA\n";
        answer += "DEFINITION  Synthetic genome number " + QByteArray::number(r)
                  + ", complete\n            genome.\n";
        answer += "ACCESSION   NC_" + QByteArray::number(r) + "\nORIGIN\n";
        QByteArray line;
        for (int i = 0; i < length; i += 60) {
            line = QByteArray::number(i + 1).rightJustified(9, ' ') + ' ';
            for (int j = 0; j < 60 && i + j < length; ++j) {
                if (j % 10 == 0 && j)
                    line += ' ';
                line += letters[random.bounded(4)];
            }
            answer += line + '\n';
        }
        answer += "//\n";
    }
    return answer;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = 10;
    const int length = 2000000;
    const QByteArray answer = efetchAnswer(count, length);

    QTemporaryDir folder;
    BenchTimer timer;
    GC_GenbankRecordWriter writer(folder.path());
    const QStringList written = writer.writeRecords(QString::fromLatin1(answer));
    benchReport("entrez_write_10x2Mb_records", timer.elapsedMs(), "ms");
    if (written.size() != count)
        qFatal("wrote %d records of %d", int(written.size()), count);

    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        qFatal("no port");
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket *socket = server.nextPendingConnection();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &answer] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(answer.size())
                          + "\r\nConnection: close\r\n\r\n");
            socket->write(answer);
            socket->disconnectFromHost();
        });
    });
    EN_Request_HttpTextData request;
    request.setUrl(QUrl(QStringLiteral("http://127.0.0.1:%1/entrez/eutils/efetch.fcgi").arg(server.serverPort())));
    QEventLoop loop;
    QObject::connect(&request, &EN_Request::done, &loop, &QEventLoop::quit);
    timer.restart();
    request.get();
    loop.exec();
    request.readResult();
    benchReport("entrez_receive_10x2Mb_answer", timer.elapsedMs(), "ms");
    if (request.data().size() != answer.size())
        qFatal("received %lld of %lld bytes", qlonglong(request.data().size()), qlonglong(answer.size()));
    return 0;
}
