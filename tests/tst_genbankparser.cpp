#include "kestal_test.h"
#include "test_data.h"

#include "gc_genbankparser.h"

#include <QDir>

// The Genbank reader on hand-written records that hit its known traps, and
// on a real phage genome.
class TestGenbankParser : public QObject
{
    Q_OBJECT

private:
    QString write(const QString &name, const QByteArray &text)
    {
        const QString path = QDir::tempPath() + "/" + name;
        if (!TestData::writeFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    GC_GenbankParser parsed(const QString &path, bool expectedResult = true)
    {
        GC_GenbankParser parser;
        parser.setFileName(path);
        const bool ok = parser.parse();
        if (ok != expectedResult)
            qWarning() << "unexpected parse result for" << path << parser.lastErrorText();
        return parser;
    }

    QByteArray headerRecord()
    {
        return "LOCUS       AB000001     1200 bp    DNA     linear   BCT 01-JAN-2000\n"
               "DEFINITION  Escherichia coli strain K-12 genomic DNA,\n"
               "            complete sequence.\n"
               "ACCESSION   AB000001\n"
               "VERSION     AB000001.1  GI:123456\n"
               "KEYWORDS    .\n"
               "SOURCE      Escherichia coli\n"
               "  ORGANISM  Escherichia coli\n"
               "            Bacteria; Proteobacteria;\n"
               "            Enterobacteriaceae; Escherichia.\n"
               "REFERENCE   1  (bases 1 to 1200)\n"
               "  AUTHORS   Someone,A.\n"
               "FEATURES             Location/Qualifiers\n"
               "     source          1..1200\n"
               "                     /organism=\"Escherichia coli\"\n"
               "                     /db_xref=\"taxon:562\"\n"
               "     gene            190..255\n"
               "                     /gene=\"thrL\"\n"
               "     CDS             190..255\n"
               "                     /gene=\"thrL\"\n"
               "                     /locus_tag=\"b0001\"\n"
               "                     /product=\"thr operon\n"
               "                     leader peptide\"\n"
               "                     /note=\"a=b\"\n"
               "                     /pseudo\n"
               "                     /db_xref=\"GI:1\"\n"
               "                     /db_xref=\"ECOCYC:EG11277\"\n"
               "                     /translation=\"MKRISTTITTTITITTGNGAG\n"
               "                     MKRISTT\"\n"
               "     CDS             complement(join(5683..5748,5801..6459))\n"
               "                     /locus_tag=\"b0005\"\n"
               "                     /product=\"hypothetical\n"
               "                     protein\"\n"
               "     tRNA            complement(<300..>350)\n"
               "                     /product=\"tRNA-Thr\"\n"
               "     misc_feature    400..420\n"
               "                     /note=\"dropped\"\n"
               "     rRNA            467\n"
               "     mRNA            190..255\n"
               "                     /product=\"leader mRNA\"\n"
               "ORIGIN      \n"
               "        1 gatcctccat atacaacggt atctccacct caggtttaga tctcaacaac ggaaccattg\n"
               "       61 ccgacatgag\n"
               "//\n";
    }

private slots:
    void headerFields()
    {
        GC_GenbankParser parser = parsed(write("header.gb", headerRecord()));
        QCOMPARE(parser.header.value("DEFINITION"),
                 QString("Escherichia coli strain K-12 genomic DNA, complete sequence."));
        QCOMPARE(parser.header.value("LOCUS"), QString("AB000001 1200 bp DNA linear BCT 01-JAN-2000"));
        QCOMPARE(parser.header.value("ACCESSION"), QString("AB000001"));
        QCOMPARE(parser.header.value("VERSION"), QString(" AB000001.1  GI:123456"));
        QCOMPARE(parser.header.value("GI"), QString("123456"));
        QCOMPARE(parser.header.value("ORGANISM"), QString("Escherichia coli"));
        QCOMPARE(parser.header.value("LINEAGE"),
                 QString("Bacteria; Proteobacteria; Enterobacteriaceae; Escherichia."));
        QCOMPARE(parser.header.value("TAXID"), QString("562"));
        QCOMPARE(parser.header.value("SEQUENCE"),
                 QString("gatcctccatatacaacggtatctccacctcaggtttagatctcaacaacggaaccattgccgacatgag"));
        QVERIFY(!parser.header.contains("REFERENCE"));
        QVERIFY(!parser.header.contains("AUTHORS"));
    }

    void taxonIdEndsWithItsQualifier()
    {
        QByteArray text = headerRecord();
        text.replace("/db_xref=\"taxon:562\"\n",
                     "/db_xref=\"taxon:562\"\n                     /country=\"USA\"\n");
        GC_GenbankParser parser = parsed(write("taxid.gb", text));
        QCOMPARE(parser.header.value("TAXID"), QString("562"));
    }

    void wrappedQualifiers()
    {
        GC_GenbankParser parser = parsed(write("qualifiers.gb", headerRecord()));
        QVERIFY(parser.features.contains("190..255"));
        const QMap<QString, QString> cds = parser.features.value("190..255");
        QCOMPARE(cds.value("locus_tag"), QString("b0001"));
        QCOMPARE(cds.value("note"), QString("a=b"));
        QCOMPARE(cds.value("db_xref"), QString("ECOCYC:EG11277")); // the last one
        QCOMPARE(cds.value("translation"), QString("MKRISTTITTTITITTGNGAGMKRISTT"));
        QCOMPARE(cds.value("complement"), QString("0"));
        // The mRNA with the same stretch came later: its product wins, the
        // CDS's other keys stay.
        QCOMPARE(cds.value("product"), QString("leader mRNA"));
        QCOMPARE(cds.value("metadata"),
                 QString("/product: leader mRNA\n"));
        QVERIFY(!cds.contains("gene"));
        QVERIFY(!cds.contains("pseudo"));
    }

    void metadataKeepsEveryQualifierLine()
    {
        QByteArray text = headerRecord();
        text.replace("     mRNA            190..255\n                     /product=\"leader mRNA\"\n", "");
        GC_GenbankParser parser = parsed(write("metadata.gb", text));
        const QMap<QString, QString> cds = parser.features.value("190..255");
        QCOMPARE(cds.value("product"), QString("thr operon leader peptide"));
        QCOMPARE(cds.value("metadata"), QString("/locus_tag: b0001\n"
                                                "/product: thr operon leader peptide\n"
                                                "/note: a=b\n"
                                                "/db_xref: GI:1\n"
                                                "/db_xref: ECOCYC:EG11277\n"));
    }

    void complementJoinGivesNumberedExons()
    {
        GC_GenbankParser parser = parsed(write("join.gb", headerRecord()));
        QVERIFY(parser.features.contains("5683..5748"));
        QVERIFY(parser.features.contains("5801..6459"));
        QCOMPARE(parser.features.value("5683..5748").value("complement"), QString("1"));
        QCOMPARE(parser.features.value("5801..6459").value("complement"), QString("1"));
        QCOMPARE(parser.features.value("5683..5748").value("product"), QString("hypothetical protein(Exon; 1)"));
        QCOMPARE(parser.features.value("5801..6459").value("product"), QString("hypothetical protein(Exon; 2)"));
        // Partial-end signs go; a single position stays a range text without "..".
        QCOMPARE(parser.features.value("300..350").value("complement"), QString("1"));
        QCOMPARE(parser.features.value("300..350").value("product"), QString("tRNA-Thr"));
        QVERIFY(parser.features.contains("467"));
        // Kinds other than the five leave nothing.
        QVERIFY(!parser.features.contains("400..420"));
        QCOMPARE(parser.features.size(), 5);
    }

    void complementInsideJoinIsRemovedFromEveryPiece()
    {
        const QByteArray features =
            "     CDS             join(complement(4918..5163),complement(2691..4571))\n"
            "                     /product=\"split protein\"\n"
            "     CDS             join(10..20,complement(30..40))\n";
        GC_GenbankParser parser = parsed(write("innercomplement.gb",
                                               TestData::genbankRecord("x", features, "acgt")));
        QCOMPARE(parser.features.keys(), QStringList({"10..20", "2691..4571", "30..40", "4918..5163"}));
        QCOMPARE(parser.features.value("4918..5163").value("complement"), QString("1"));
        QCOMPARE(parser.features.value("2691..4571").value("complement"), QString("1"));
        QCOMPARE(parser.features.value("2691..4571").value("product"), QString("split protein(Exon; 2)"));
        QCOMPARE(parser.features.value("10..20").value("complement"), QString("0"));
        QCOMPARE(parser.features.value("30..40").value("complement"), QString("1"));
    }

    void locationWrappedOverLinesStaysWhole()
    {
        const QByteArray features =
            "     CDS             join(100..200,300..400,\n"
            "                     500..600)\n"
            "                     /product=\"long\"\n";
        GC_GenbankParser parser = parsed(write("wrappedlocation.gb",
                                               TestData::genbankRecord("x", features, "acgt")));
        QCOMPARE(parser.features.keys(), QStringList({"100..200", "300..400", "500..600"}));
        QCOMPARE(parser.features.value("500..600").value("product"), QString("long(Exon; 3)"));
    }

    void sequenceStopsAtRecordEnd()
    {
        QByteArray text = TestData::genbankRecord("first", "", "acgtacgt");
        text += TestData::genbankRecord("second record with letters", "", "tttttttt");
        GC_GenbankParser parser = parsed(write("tworecords.gb", text));
        QCOMPARE(parser.header.value("SEQUENCE"), QString("acgtacgt"));
        QCOMPARE(parser.header.value("DEFINITION"), QString("first"));
    }

    void upperCaseOriginIsStoredInLowerCase()
    {
        GC_GenbankParser parser = parsed(write("upper.gb", TestData::genbankRecord("x", "", "ACGTNACGTT")));
        QCOMPARE(parser.header.value("SEQUENCE"), QString("acgtnacgtt"));
    }

    void recordWithoutFeaturesStillHasItsSequence()
    {
        const QByteArray text = "LOCUS       X 8 bp\nDEFINITION  bare\nORIGIN\n        1 acgtacgt\n//\n";
        GC_GenbankParser parser = parsed(write("nofeatures.gb", text));
        QCOMPARE(parser.header.value("SEQUENCE"), QString("acgtacgt"));
        QVERIFY(parser.features.isEmpty());
    }

    // Each file of the corpus (and a few cut-off records) is either read as
    // the row says, with what it leaves out said in words (FILE stands for
    // its path), or refused with a message holding the row's words.
    void readOrRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        // order(), complement() at any depth, a one-blank DEFINITION; the
        // stretches across the origin, off the sequence or on another record
        // are skipped (7), the single base gives none.
        const QString features = "read as Phage alpha, one blank after the keyword. | 120 | "
                                 "10..20 30..40 55..50 60..57 64..62 70..66 75..72 80..77 85..95 | 7 skipped"
                                 " | FILE: 2 features skipped: they run across the origin (100..30, complement(110..5))"
                                 " / FILE: 4 features skipped: they lie outside the 120 bases of the sequence "
                                 "(-5..8, 0..9, 115..130, 1..999999999999)"
                                 " / FILE: 1 feature skipped: it lies on another record (AB000001.1:1..10)";
        for (const QString form : {"lf", "crlf", "cr", "utf16le", "utf16be"})
            QTest::newRow(qPrintable("features " + form)) << TestData::corpusFile("features.gb", form) << features;
        QByteArray noOrigin = headerRecord();
        noOrigin.truncate(noOrigin.indexOf("ORIGIN"));
        QByteArray noEnd = headerRecord();
        noEnd.chop(3);
        // Its stretches all lie beyond its 70 letters.
        QTest::newRow("ORIGIN line with a note")
            << headerRecord().replace("ORIGIN      \n", "ORIGIN      Chromosome 2, the rest.\n")
            << "read as Escherichia coli strain K-12 genomic DNA, complete sequence. | 70 |  | 4 skipped"
               " | FILE: 4 features skipped: they lie outside the 70 bases of the sequence "
               "(190..255, complement(5683..5748), complement(5801..6459), complement(300..350))";
        // Six mRNA records in one file: the first is read, and the rest said.
        QByteArray mrnas;
        for (int i = 1; i <= 6; ++i)
            mrnas += TestData::genbankRecord(QString("mRNA %1").arg(i), "     mRNA            1..12\n",
                                             TestData::randomDna(12, i));
        QTest::newRow("six records")
            << mrnas << "read as mRNA 1 | 12 | 1..12 | 0 skipped | FILE holds 6 records; only the first, \"mRNA 1\", is read";
        // Names are listed up to ten; the count is whole.
        QByteArray across;
        for (int i = 0; i < 12; ++i)
            across += QByteArray("     CDS             ") + (i % 2 ? "complement(" : "") + QByteArray::number(60 - i)
                      + ".." + QByteArray::number(i + 1) + (i % 2 ? ")" : "") + "\n";
        QTest::newRow("many across the origin")
            << TestData::genbankRecord("circle", across, TestData::randomDna(60, 7))
            << "read as circle | 60 |  | 12 skipped | FILE: 12 features skipped: they run across the origin (60..1, "
               "complement(59..2), 58..3, complement(57..4), 56..5, complement(55..6), 54..7, complement(53..8), "
               "52..9, complement(51..10) and 2 more)";
        QTest::newRow("sequence built by a CONTIG line")
            << TestData::corpusFile("contig.gb") << "refused: holds no sequence: its CONTIG line builds it from other records";
        QTest::newRow("complete record without ORIGIN")
            << noOrigin + "//\n" << "refused: holds no sequence: its record has no ORIGIN section";
        QTest::newRow("empty file") << QByteArray() << "refused: not a Genbank file";
        QTest::newRow("FASTA file") << TestData::corpusFile("iupac.fas") << "refused: not a Genbank file";
        QTest::newRow("protein record") << TestData::corpusFile("protein.gb") << "refused: is a protein record";
        QTest::newRow("ORIGIN without LOCUS") << TestData::corpusFile("nolocus.gb") << "refused: no LOCUS line";
        QTest::newRow("NUL bytes") << TestData::corpusFile("features.gb", "nul") << "refused: NUL bytes";
        QTest::newRow("binary junk") << TestData::corpusFile("features.gb", "junk") << "refused: binary file";
        QTest::newRow("no ORIGIN") << noOrigin << "refused: no ORIGIN";
        QTest::newRow("no record end") << noEnd << "refused: truncated";
        QTest::newRow("no letters") << QByteArray("LOCUS       X\nORIGIN\n        1\n//\n") << "refused: no sequence";
        QTest::newRow("letters that are not nucleotides")
            << QByteArray("LOCUS       X\nORIGIN\n        1 acgtqacgt\n//\n") << "refused: \"q\" at position 5";
        // Gaps would shift every later position: a CDS at 21..30 after a
        // ten-letter gap would read the letters of 31..40.
        QByteArray gapped = headerRecord();
        gapped.replace("        1 ", "        1 ---------- ");
        QTest::newRow("gap") << gapped << "refused: its ORIGIN section holds \"-\" on line 42";
        QTest::newRow("dot") << QByteArray("LOCUS       X\nORIGIN\n        1 acgt\n        5 ac..gt\n//\n")
                             << "refused: its ORIGIN section holds \".\" on line 4";
        QTest::newRow("star, CRLF")
            << QByteArray("LOCUS       X\r\nORIGIN\r\n        1 acgt*\r\n//\r\n")
            << "refused: its ORIGIN section holds \"*\" on line 3";
        // Beyond ASCII a character is named by its code too: a Latin-1
        // no-break space is no UTF-8 character at all.
        QByteArray latin1 = headerRecord();
        latin1.replace("        1 gatcctccat ", "        1 gatcctccat\xA0");
        QTest::newRow("Latin-1 byte") << latin1 << "refused: its ORIGIN section holds \"\uFFFD\" (byte 0xA0) on line 42";
        const QByteArray accented = "LOCUS       X\nORIGIN\n        1 acgt\n        5 ac\xC3\xA9gt\n//\n";
        QTest::newRow("UTF-8 letter") << accented << "refused: its ORIGIN section holds \"\u00E9\" (bytes 0xC3 0xA9) on line 4";
        QTest::newRow("UTF-16 letter") << TestData::fileForm(QString::fromUtf8(accented).toLatin1(), "utf16le")
                                       << "refused: its ORIGIN section holds \"\u00E9\" (U+00E9) on line 4";
    }

    void readOrRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        GC_GenbankParser parser;
        parser.setFileName(write("corpus.gb", content));
        // The quick check, which skips the features, decides alike.
        GC_GenbankParser checker;
        checker.setFileName(parser.fileName);
        const bool checked = checker.check();
        QCOMPARE(parser.parse(), checked);
        if (!checked) {
            QVERIFY2(expected.startsWith("refused: "), qPrintable(parser.lastErrorText()));
            QVERIFY2(parser.lastErrorText().contains(expected.mid(9)), qPrintable(parser.lastErrorText()));
            QVERIFY(parser.lastErrorText().contains(parser.fileName));
            return;
        }
        QStringList warnings;
        QStringList ranges;
        for (const GC_GenbankParser::Stretch &stretch : parser.stretches(&warnings))
            ranges << QString("%1..%2").arg(stretch.from).arg(stretch.to);
        QString read = QString("read as %1 | %2 | %3 | %4 skipped")
                           .arg(parser.header.value("DEFINITION"))
                           .arg(parser.header.value("SEQUENCE").size())
                           .arg(ranges.join(' '))
                           .arg(warnings.size());
        if (!parser.warnings().isEmpty())
            read += " | " + parser.warnings().join(" / ").replace(parser.fileName, "FILE");
        QCOMPARE(read, expected);
        // Without the features only the records can be told.
        QCOMPARE(checker.warnings(), parser.warnings().filter("records; only the first"));
    }

    void missingFileLeavesMapsEmpty()
    {
        GC_GenbankParser parser;
        parser.setFileName(QDir::tempPath() + "/does-not-exist.gb");
        QVERIFY(!parser.parse());
        QVERIFY(parser.header.isEmpty());
        QVERIFY(parser.features.isEmpty());
        QVERIFY(!parser.lastErrorText().isEmpty());
        QVERIFY(!QFile::exists(parser.fileName));
    }

    void realPhageGenome()
    {
        GC_GenbankParser parser = parsed(kestalTestDataPath("MH816966.1.gbk"));
        QCOMPARE(parser.header.value("DEFINITION"), QString("Escherichia phage FEC19, complete genome."));
        QCOMPARE(parser.header.value("SEQUENCE").size(), 68472);
        QVERIFY(parser.header.value("SEQUENCE").startsWith("ctatcgttactcgctttacc"));
        QVERIFY(parser.header.value("SEQUENCE").endsWith("agtttattatgg"));
        QCOMPARE(parser.header.value("TAXID"), QString("2315486"));
        QCOMPARE(parser.features.size(), 93);
        const QMap<QString, QString> gene = parser.features.value("1447..1920");
        QCOMPARE(gene.value("complement"), QString("1"));
        QCOMPARE(gene.value("protein_id"), QString("AYD85431.1"));
        QVERIFY(gene.value("translation").startsWith("MSQDYVAMPEDFEDPRFAEHNQALFDEFIDLVIQGHDMRAAFALVFGMEV"));
        QVERIFY(gene.value("translation").endsWith("FSRH"));
        QCOMPARE(parser.features.value("392..1018").value("complement"), QString("0"));
    }
};

KESTAL_TEST_MAIN(TestGenbankParser)
#include "tst_genbankparser.moc"
