#ifndef EN_REQUEST_H
#define EN_REQUEST_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkReply;
class QNetworkRequest;

// One HTTP GET to a web service. The caller sets the address, adds query
// items one by one as plain text (each key and value is form-encoded on the
// way in, so the query holds them as the server receives them), starts the request and waits for done(bool),
// whose argument is true on failure. After done(false) it calls readResult()
// once and reads data() or fileName(). One object serves one GET.
class EN_Request : public QObject
{
    Q_OBJECT

public:
    explicit EN_Request(QObject *parent = nullptr);
    ~EN_Request() override;

    // Takes scheme, host, port (80, or 443 for https, when the URL names
    // none) and path; the URL's query and fragment are dropped.
    virtual void setUrl(const QUrl &url);
    virtual QString fileName() const;
    virtual QByteArray data() const;
    virtual bool readResult() = 0;
    virtual void get() = 0;

    void addQueryItem(const QString &key, int value);
    void addQueryItem(const QString &key, const QString &value);
    // text as a query key or value: blanks as "+", everything but
    // letters, digits and "-._~" as %XX of its UTF-8 bytes.
    static QString encodeQueryText(const QString &text);

    QString getHost() const { return host; }
    QString getPath() const { return path; }
    int getPort() const { return port; }
    QString getQuery() const { return query; }

    // The full address the GET goes to.
    QUrl targetUrl() const;

    // Why the last GET failed, in words; empty after a success.
    QString errorString() const { return lastError; }

signals:
    void done(bool error);
    void progressRead(int done, int total);
    void progressSend(int done, int total);

protected:
    // The request for targetUrl() with the house settings (redirects,
    // transfer timeout).
    QNetworkRequest networkRequest() const;
    // Called when a reply has finished: records the failure, if any, and
    // answers whether there was one. A status outside 2xx is a failure.
    bool replyFailed(QNetworkReply *reply);
    void wireProgress(QNetworkReply *reply);

    QString scheme;
    QString host;
    QString path;
    int port = -1;
    QString query;
    QString lastError;
};

#endif
