#include "kestal_test.h"

#include "gc_genomesbrowser_treemodel.h"
#include "taxonomy_database_fixture.h"

#include <QTreeView>

// The taxonomy tree over a tiny database (see taxonomy_database_fixture.h).
// The model's answers are kept for the whole run, so the tests share one
// database and the one that changes it runs last.
class TestTaxonomyModel : public QObject
{
    Q_OBJECT

private:
    TaxonomyDatabaseFixture taxonomy;

    static int taxid(const QModelIndex &index) { return int(index.internalId()); }

private slots:
    void initTestCase()
    {
        QVERIFY2(taxonomy.build(), qPrintable(taxonomy.errorString()));
        QVERIFY2(taxonomy.open(), qPrintable(taxonomy.errorString()));
    }

    void topLevelIsTheRootsChildren()
    {
        GC_GenomesBrowser_TreeModel model;
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 1);
        const QModelIndex bacteria = model.index(0, 0);
        const QModelIndex viruses = model.index(1, 0);
        QCOMPARE(taxid(bacteria), 2);
        QCOMPARE(taxid(viruses), 10239);
        QCOMPARE(bacteria.data().toString(), QString("Bacteria"));
        QVERIFY(!model.parent(bacteria).isValid());
        QVERIFY(!model.index(2, 0).isValid());
        QVERIFY(!model.index(0, 1).isValid());
        QCOMPARE(model.rowCount(bacteria), 2);
    }

    void parentsFindTheirRow()
    {
        GC_GenomesBrowser_TreeModel model;
        const QModelIndex bacteria = model.index(0, 0);
        const QModelIndex proteobacteria = model.index(0, 0, bacteria);
        const QModelIndex firmicutes = model.index(1, 0, bacteria);
        const QModelIndex coli = model.index(0, 0, proteobacteria);
        const QModelIndex subtilis = model.index(0, 0, firmicutes);
        QCOMPARE(taxid(coli), 562);
        QCOMPARE(taxid(subtilis), 1423);

        // Each sibling reports its own row, whichever is asked first.
        const QModelIndex ofSubtilis = model.parent(subtilis);
        const QModelIndex ofColi = model.parent(coli);
        QCOMPARE(ofSubtilis, firmicutes);
        QCOMPARE(ofSubtilis.row(), 1);
        QCOMPARE(ofColi, proteobacteria);
        QCOMPARE(ofColi.row(), 0);
        QCOMPARE(model.parent(proteobacteria), bacteria);
        QVERIFY(!model.parent(QModelIndex()).isValid());
        QCOMPARE(model.rowCount(coli), 0);
    }

    void brokenRowsShowNothing()
    {
        GC_GenomesBrowser_TreeModel model;
        const QModelIndex viruses = model.index(1, 0);
        QCOMPARE(model.rowCount(viruses), 2);
        QCOMPARE(model.index(0, 0, viruses).data().toString(), QString("Caudovirales"));
        // subtaxid 0 is no taxon.
        QVERIFY(!model.index(1, 0, viruses).isValid());
        QVERIFY(!model.data(QModelIndex()).isValid());
        QVERIFY(!model.index(0, 0, viruses).data(Qt::DecorationRole).isValid());
    }

    void headerAndFlags()
    {
        GC_GenomesBrowser_TreeModel model;
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Taxon Name"));
        QCOMPARE(model.headerData(3, Qt::Vertical).toString(), QString("Taxon Name"));
        // Only as text: a size or font role answered with a string breaks headers.
        QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::SizeHintRole).isValid());
        QCOMPARE(model.flags(model.index(0, 0)), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);
    }

    void aViewWalksTheWholeTree()
    {
        GC_GenomesBrowser_TreeModel model;
        QTreeView view;
        view.setModel(&model);
        view.expandAll();
        view.resize(300, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QStringList shown;
        for (QModelIndex index = model.index(0, 0); index.isValid(); index = view.indexBelow(index))
            shown << index.data().toString();
        QCOMPARE(shown, (QStringList{"Bacteria", "Proteobacteria", "Escherichia coli", "Firmicutes", "",
                                     "Viruses", "Caudovirales"}));
    }

    // Runs last: it changes the database under the cached answers.
    void answersOutliveTheModelAndMissingNamesAreAskedAgain()
    {
        {
            GC_GenomesBrowser_TreeModel first;
            const QModelIndex subtilis =
                first.index(0, 0, first.index(1, 0, first.index(0, 0)));
            QCOMPARE(subtilis.data().toString(), QString());  // no taxnames row
        }
        QVERIFY(taxonomy.exec("INSERT INTO taxnames VALUES (1423, 'Bacillus subtilis')"));
        QVERIFY(taxonomy.exec("DELETE FROM subtaxa"));
        QVERIFY(taxonomy.exec("DELETE FROM taxnames WHERE taxid = 2"));

        // A later model (another dialog) answers from what earlier ones learnt.
        GC_GenomesBrowser_TreeModel second;
        QCOMPARE(second.rowCount(), 2);
        const QModelIndex bacteria = second.index(0, 0);
        QCOMPARE(bacteria.data().toString(), QString("Bacteria"));
        const QModelIndex subtilis = second.index(0, 0, second.index(1, 0, bacteria));
        QCOMPARE(taxid(subtilis), 1423);
        QCOMPARE(second.parent(subtilis).row(), 1);
        // The name that was missing is looked up again and now found.
        QCOMPARE(subtilis.data().toString(), QString("Bacillus subtilis"));
    }
};

KESTAL_TEST_MAIN(TestTaxonomyModel)
#include "tst_taxonomymodel.moc"
