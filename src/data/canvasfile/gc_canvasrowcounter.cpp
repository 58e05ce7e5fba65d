#include "gc_canvasrowcounter.h"

#include <QSqlError>
#include <QSqlQuery>

bool GC_CanvasRowCounter::commitEvery1000(QSqlQuery &query, int &counter, QString *errorText)
{
    ++counter;
    if (counter <= 1000)
        return true;
    counter = 0;
    for (const char *statement : {"COMMIT", "BEGIN"}) {
        if (!query.exec(QLatin1String(statement))) {
            if (errorText)
                *errorText = QStringLiteral("%1 failed: %2")
                                 .arg(QLatin1String(statement), query.lastError().text());
            return false;
        }
    }
    return true;
}
