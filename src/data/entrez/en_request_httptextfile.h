#ifndef EN_REQUEST_HTTPTEXTFILE_H
#define EN_REQUEST_HTTPTEXTFILE_H

#include "en_request.h"

#include <QNetworkAccessManager>
#include <QPointer>

class QTemporaryFile;

// A GET whose answer goes into a temporary file, which stays on disk for the
// caller once readResult() has handed it over. A file left unread (a failed
// or abandoned GET) is removed with the request, so no partial answer stays
// behind looking complete.
class EN_Request_HttpTextFile : public EN_Request
{
public:
    explicit EN_Request_HttpTextFile(QObject *parent = nullptr);
    ~EN_Request_HttpTextFile() override;

    QString fileName() const override;
    // Hands the file over; false when its first byte is the character '0'.
    bool readResult() override;
    void get() override;

private:
    void received();
    void finished();
    void dropFile();

    QNetworkAccessManager http;
    QPointer<QNetworkReply> reply;
    QTemporaryFile *file = nullptr;
    QString resultFileName;
    bool writeFailed = false;
};

#endif
