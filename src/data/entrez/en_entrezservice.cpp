#include "en_entrezservice.h"

namespace {
QUrl &currentBase()
{
    static QUrl base = EN_EntrezService::defaultBaseUrl();
    return base;
}
} // namespace

QUrl EN_EntrezService::defaultBaseUrl()
{
    // NCBI answers plain HTTP with a redirect to HTTPS; go there directly.
    return QUrl(QStringLiteral("https://eutils.ncbi.nlm.nih.gov"));
}

QUrl EN_EntrezService::baseUrl()
{
    return currentBase();
}

void EN_EntrezService::setBaseUrl(const QUrl &url)
{
    currentBase() = url;
}

QUrl EN_EntrezService::url(const QString &path)
{
    QUrl address = currentBase();
    address.setPath(path);
    return address;
}
