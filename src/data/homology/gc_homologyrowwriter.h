#ifndef GC_HOMOLOGYROWWRITER_H
#define GC_HOMOLOGYROWWRITER_H

#include <QString>

class QSqlQuery;

// Writes one hit row (reference id, genome id, start, end, E-value, bit
// score) with an INSERT text of the hit tables. The statement is prepared
// only when the query holds another one, so a save of many hits prepares it
// once per table and commit. A failure is logged with the given prefix.
class GC_HomologyRowWriter
{
public:
    // One hit as its table holds it (the genome id aside).
    struct Row
    {
        int referenceId = 0;
        int start = 0;
        int end = 0;
        double evalue = 0.0;
        double bitscore = 0.0;
    };

    static bool write(QSqlQuery &query, const QString &insertSql, int referenceId, int genomeId,
                      int start, int end, double evalue, double bitscore,
                      const char *failurePrefix);
};

#endif
