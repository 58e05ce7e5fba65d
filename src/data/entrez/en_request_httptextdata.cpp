#include "en_request_httptextdata.h"

#include "gc_log.h"

#include <QNetworkReply>

EN_Request_HttpTextData::EN_Request_HttpTextData(QObject *parent)
    : EN_Request(parent)
{
}

EN_Request_HttpTextData::~EN_Request_HttpTextData()
{
    if (reply) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        delete reply;
    }
}

QByteArray EN_Request_HttpTextData::data() const
{
    return buffer;
}

bool EN_Request_HttpTextData::readResult()
{
    buffer = received;
    received.clear();
    return true;
}

void EN_Request_HttpTextData::get()
{
    if (reply) {
        // A request object serves one GET at a time: the older one is dropped.
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
    }
    received.clear();
    reply = http.get(networkRequest());
    wireProgress(reply);
    connect(reply, &QNetworkReply::finished, this, &EN_Request_HttpTextData::finished);
    qCDebug(lcKestal, "EN_Request_HttpTextData : %s%s", qPrintable(path), qPrintable(query));
}

void EN_Request_HttpTextData::finished()
{
    QNetworkReply *ended = reply;
    if (!ended)
        return;
    reply = nullptr;
    const bool error = replyFailed(ended);
    if (!error)
        received = ended->readAll();
    ended->deleteLater();
    emit done(error);
}
