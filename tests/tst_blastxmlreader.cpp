#include "kestal_test.h"

#include "gc_blastxmlreader.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QRegularExpression>

// Reading HSPs out of BLAST XML reports.
class TestBlastXmlReader : public QObject
{
    Q_OBJECT

private:
    static QByteArray hspXml(int bitScore, int hitFrom, int hitTo, int queryFrom, int queryTo,
                             int identity, int alignLength, const QByteArray &qseq, const QByteArray &hseq)
    {
        return "            <Hsp>\n"
               "              <Hsp_num>1</Hsp_num>\n"
               "              <Hsp_bit-score>" + QByteArray::number(bitScore) + ".5</Hsp_bit-score>\n"
               "              <Hsp_score>100</Hsp_score>\n"
               "              <Hsp_evalue>1e-50</Hsp_evalue>\n"
               "              <Hsp_query-from>" + QByteArray::number(queryFrom) + "</Hsp_query-from>\n"
               "              <Hsp_query-to>" + QByteArray::number(queryTo) + "</Hsp_query-to>\n"
               "              <Hsp_hit-from>" + QByteArray::number(hitFrom) + "</Hsp_hit-from>\n"
               "              <Hsp_hit-to>" + QByteArray::number(hitTo) + "</Hsp_hit-to>\n"
               "              <Hsp_query-frame>1</Hsp_query-frame>\n"
               "              <Hsp_hit-frame>-1</Hsp_hit-frame>\n"
               "              <Hsp_identity>" + QByteArray::number(identity) + "</Hsp_identity>\n"
               "              <Hsp_positive>0</Hsp_positive>\n"
               "              <Hsp_gaps>0</Hsp_gaps>\n"
               "              <Hsp_align-len>" + QByteArray::number(alignLength) + "</Hsp_align-len>\n"
               "              <Hsp_qseq>" + qseq + "</Hsp_qseq>\n"
               "              <Hsp_hseq>" + hseq + "</Hsp_hseq>\n"
               "              <Hsp_midline>|||</Hsp_midline>\n"
               "            </Hsp>\n";
    }

    static QList<GC_BlastHsp> readAll(const QByteArray &xml, bool *ok = nullptr)
    {
        QBuffer buffer;
        buffer.setData(xml);
        buffer.open(QIODevice::ReadOnly);
        QList<GC_BlastHsp> hsps;
        GC_BlastXmlReader reader;
        const bool result = reader.read(&buffer, [&hsps](const GC_BlastHsp &hsp) {
            hsps << hsp;
            return true;
        });
        if (ok)
            *ok = result;
        return hsps;
    }

private slots:
    void splitMatchesThePatternItReplaces()
    {
        // The position-based split must give the captures of the greedy
        // pattern on any line, including odd ones.
        const QRegularExpression pattern("<(.*)[^>]*>(.*)</(.*)>");
        QStringList lines{"<Hsp_bit-score>12.5</Hsp_bit-score>", "<Hsp>", "</Hsp>", "<a></a>", "<>x</>",
                          "<a>x</b>y>", "text <a>1</a> tail", "<a>1</a><b>2</b>", "<a b=\"c\">v</a>",
                          "no tags", "<", "</", "></", "<a>x</a", "x>y</z>"};
        QRandomGenerator random(42);
        const char alphabet[] = "<>/ab";
        for (int n = 0; n < 3000; ++n) {
            QString line;
            const int length = random.bounded(1, 12);
            for (int i = 0; i < length; ++i)
                line += QChar(alphabet[random.bounded(5)]);
            lines << line;
        }
        for (const QString &line : lines) {
            const QRegularExpressionMatch match = pattern.match(line);
            QByteArray tag;
            QByteArray value;
            const bool split = GC_BlastXmlReader::splitElementLine(line.toLatin1(), tag, value);
            QVERIFY2(split == match.hasMatch(), qPrintable(line));
            if (split) {
                QVERIFY2(QString::fromLatin1(tag) == match.captured(3), qPrintable(line));
                QVERIFY2(QString::fromLatin1(value) == match.captured(2), qPrintable(line));
            }
        }
    }

    void readsEveryHspWithItsValues()
    {
        const QByteArray xml = "<?xml version=\"1.0\"?>\n<BlastOutput>\n"
                               "  <Iteration_query-def>2</Iteration_query-def>\n"
                               + hspXml(300, 1600, 1001, 801, 1400, 600, 600, "acg", "acg")
                               + hspXml(20, 10, 40, 50, 80, 2, 3, "a-c", "agc")
                               + "</BlastOutput>\n";
        bool ok = false;
        const QList<GC_BlastHsp> hsps = readAll(xml, &ok);
        QVERIFY(ok);
        QCOMPARE(hsps.size(), 2);
        QCOMPARE(hsps[0].bitScore, 300.5);
        QCOMPARE(hsps[0].hitFrom, 1600);
        QCOMPARE(hsps[0].hitTo, 1001);
        QCOMPARE(hsps[0].queryFrom, 801);
        QCOMPARE(hsps[0].queryTo, 1400);
        QCOMPARE(hsps[0].similarity(), 100);
        QCOMPARE(hsps[1].querySequence, QByteArray("a-c"));
        QCOMPARE(hsps[1].hitSequence, QByteArray("agc"));
        QCOMPARE(hsps[1].similarity(), 66);
    }

    void similarityIsRoundedDownAndNeverDividesByZero()
    {
        GC_BlastHsp hsp;
        hsp.identity = 1;
        hsp.alignLength = 3;
        QCOMPARE(hsp.similarity(), 33);
        hsp.identity = 99;
        hsp.alignLength = 100;
        QCOMPARE(hsp.similarity(), 99);
        hsp.identity = 2000000000;
        hsp.alignLength = 2000000000;
        QCOMPARE(hsp.similarity(), 100);
        hsp.identity = 5;
        hsp.alignLength = 0;
        QCOMPARE(hsp.similarity(), 0);
    }

    void valuesCarryOverAndMalformedNumbersReadZero()
    {
        // An HSP that lacks lines keeps the previous HSP's values, as read.
        const QByteArray xml = hspXml(50, 1, 100, 1, 100, 100, 100, "a", "a")
                               + "<Hsp_hit-from>abc</Hsp_hit-from>\n<Hsp_qseq>t</Hsp_qseq>\n<Hsp_hseq>g</Hsp_hseq>\n";
        const QList<GC_BlastHsp> hsps = readAll(xml);
        QCOMPARE(hsps.size(), 2);
        QCOMPARE(hsps[1].hitFrom, 0);
        QCOMPARE(hsps[1].hitTo, 100);
        QCOMPARE(hsps[1].bitScore, 50.5);
        QCOMPARE(hsps[1].querySequence, QByteArray("t"));
    }

    void missingReportFails()
    {
        GC_BlastXmlReader reader;
        QVERIFY(!reader.readFile("/nonexistent/out", [](const GC_BlastHsp &) { return true; }));
        QVERIFY(reader.lastErrorText().contains("/nonexistent/out"));
    }
};

KESTAL_TEST_MAIN(TestBlastXmlReader)
#include "tst_blastxmlreader.moc"
