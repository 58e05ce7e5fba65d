#ifndef EN_ENTREZSERVICE_H
#define EN_ENTREZSERVICE_H

#include <QString>
#include <QUrl>

// Where the Entrez E-utilities live. Every request takes its address from
// here, so the whole program can be pointed at another server (a mirror, or a
// local stand-in) in one place.
class EN_EntrezService
{
public:
    // The server without a path; the real NCBI service unless changed.
    static QUrl baseUrl();
    static void setBaseUrl(const QUrl &url);
    static QUrl defaultBaseUrl();

    // The base address with path put in, e.g. "/entrez/eutils/esearch.fcgi".
    static QUrl url(const QString &path);

    // Sent as "tool" and "email" with every request, as NCBI asks.
    static QString toolName() { return QStringLiteral("kestal"); }
    static QString contactEmail() { return QStringLiteral("kestal@example.org"); }
};

#endif
