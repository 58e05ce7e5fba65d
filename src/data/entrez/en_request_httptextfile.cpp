#include "en_request_httptextfile.h"

#include "gc_log.h"

#include <QNetworkReply>
#include <QTemporaryFile>

EN_Request_HttpTextFile::EN_Request_HttpTextFile(QObject *parent)
    : EN_Request(parent)
{
}

EN_Request_HttpTextFile::~EN_Request_HttpTextFile()
{
    if (reply) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        delete reply;
    }
    dropFile();
}

QString EN_Request_HttpTextFile::fileName() const
{
    return resultFileName;
}

bool EN_Request_HttpTextFile::readResult()
{
    if (!file)
        return false;
    resultFileName = file->fileName();
    file->seek(0);
    char first = 0;
    const qint64 read = file->read(&first, 1);
    file->close();
    delete file;
    file = nullptr;
    return !(read == 1 && first == '0');
}

void EN_Request_HttpTextFile::get()
{
    if (reply) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
    }
    dropFile();
    resultFileName.clear();
    writeFailed = false;

    file = new QTemporaryFile;
    if (!file->open()) {
        lastError = tr("Could not create a temporary file: %1").arg(file->errorString());
        dropFile();
        // Reported like any other failure, through the event loop.
        QMetaObject::invokeMethod(this, [this] { emit done(true); }, Qt::QueuedConnection);
        return;
    }
    reply = http.get(networkRequest());
    connect(reply, &QNetworkReply::readyRead, this, &EN_Request_HttpTextFile::received);
    connect(reply, &QNetworkReply::finished, this, &EN_Request_HttpTextFile::finished);
    qCDebug(lcKestal, "EN_Request_HttpTextFile : %s%s", qPrintable(path), qPrintable(query));
}

void EN_Request_HttpTextFile::received()
{
    if (!reply || !file || writeFailed)
        return;
    const QByteArray chunk = reply->readAll();
    if (file->write(chunk) != chunk.size()) {
        writeFailed = true;
        lastError = tr("Could not write the temporary file: %1").arg(file->errorString());
        reply->abort();
    }
}

void EN_Request_HttpTextFile::finished()
{
    QNetworkReply *ended = reply;
    if (!ended)
        return;
    received();
    reply = nullptr;
    const QString writeError = lastError;
    bool error = replyFailed(ended);
    if (writeFailed) {
        error = true;
        lastError = writeError;
    }
    if (!error && !file->flush()) {
        error = true;
        lastError = tr("Could not write the temporary file: %1").arg(file->errorString());
    }
    if (error)
        dropFile();
    else
        file->setAutoRemove(false);
    ended->deleteLater();
    emit done(error);
}

void EN_Request_HttpTextFile::dropFile()
{
    if (!file)
        return;
    file->setAutoRemove(true);
    delete file;
    file = nullptr;
}
