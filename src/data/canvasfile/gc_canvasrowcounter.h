#ifndef GC_CANVASROWCOUNTER_H
#define GC_CANVASROWCOUNTER_H

#include <QString>

class QSqlQuery;

// The one counter that runs through a canvas save: taken once before each
// counted row, it ends the open transaction and begins a new one after
// every 1000 rows, so no transaction grows without bound.
class GC_CanvasRowCounter
{
public:
    // Adds 1; past 1000 resets to 0 and runs "COMMIT" then "BEGIN" on the
    // query. False (with the reason in errorText) when either fails.
    static bool commitEvery1000(QSqlQuery &query, int &counter, QString *errorText = nullptr);
};

#endif
