#ifndef EN_REQUEST_HTTPTEXTDATA_H
#define EN_REQUEST_HTTPTEXTDATA_H

#include "en_request.h"

#include <QNetworkAccessManager>
#include <QPointer>

// A GET whose answer is kept in memory. Reports read and send progress.
// Destroying it while it runs aborts the transfer without emitting done().
class EN_Request_HttpTextData : public EN_Request
{
public:
    explicit EN_Request_HttpTextData(QObject *parent = nullptr);
    ~EN_Request_HttpTextData() override;

    QByteArray data() const override;
    // Takes over the body received; always true (an empty body is empty data).
    bool readResult() override;
    void get() override;

private:
    void finished();

    QNetworkAccessManager http;
    QPointer<QNetworkReply> reply;
    QByteArray received;
    QByteArray buffer;
};

#endif
