#include "en_request.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <limits>

namespace {
// A server that stops sending is given up after this long.
const int transferTimeoutMs = 120000;

int clampToInt(qint64 value)
{
    if (value < 0)
        return 0;
    return int(qMin<qint64>(value, std::numeric_limits<int>::max()));
}
} // namespace

EN_Request::EN_Request(QObject *parent)
    : QObject(parent)
{
}

EN_Request::~EN_Request() = default;

void EN_Request::setUrl(const QUrl &url)
{
    scheme = url.scheme().isEmpty() ? QStringLiteral("http") : url.scheme().toLower();
    host = url.host();
    path = url.path();
    port = url.port(scheme == QLatin1String("https") ? 443 : 80);
}

QString EN_Request::fileName() const
{
    return QString();
}

QByteArray EN_Request::data() const
{
    return QByteArray();
}

void EN_Request::addQueryItem(const QString &key, int value)
{
    addQueryItem(key, QString::number(value));
}

// Form encoding: a blank goes as "+", every other character outside the
// unreserved set as %XX, so a '&', '+', '#' or '%' the user typed reaches the
// server as written instead of splitting the request.
QString EN_Request::encodeQueryText(const QString &text)
{
    QByteArray encoded = QUrl::toPercentEncoding(text, QByteArrayLiteral(" "));
    encoded.replace(' ', '+');
    return QString::fromLatin1(encoded);
}

void EN_Request::addQueryItem(const QString &key, const QString &value)
{
    query += query.isEmpty() ? QLatin1Char('?') : QLatin1Char('&');
    query += encodeQueryText(key) + QLatin1Char('=') + encodeQueryText(value);
}

QUrl EN_Request::targetUrl() const
{
    QUrl url;
    url.setScheme(scheme.isEmpty() ? QStringLiteral("http") : scheme);
    url.setHost(host);
    if (port > 0 && port != (url.scheme() == QLatin1String("https") ? 443 : 80))
        url.setPort(port);
    url.setPath(path);
    // The query is fully encoded already and goes out exactly as built.
    if (!query.isEmpty())
        url.setQuery(query.mid(1), QUrl::StrictMode);
    return url;
}

QNetworkRequest EN_Request::networkRequest() const
{
    QNetworkRequest request(targetUrl());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(transferTimeoutMs);
    return request;
}

bool EN_Request::replyFailed(QNetworkReply *reply)
{
    lastError.clear();
    // An HTTP error is told by its status, which says more than the
    // network layer's text.
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        lastError = tr("The server answered with HTTP status %1 %2")
                        .arg(status.toInt())
                        .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        return true;
    }
    if (reply->error() != QNetworkReply::NoError) {
        lastError = reply->errorString();
        return true;
    }
    return false;
}

void EN_Request::wireProgress(QNetworkReply *reply)
{
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 done, qint64 total) {
        emit progressRead(clampToInt(done), clampToInt(total));
    });
    connect(reply, &QNetworkReply::uploadProgress, this, [this](qint64 done, qint64 total) {
        emit progressSend(clampToInt(done), clampToInt(total));
    });
}
