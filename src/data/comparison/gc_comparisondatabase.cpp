#include "gc_comparisondatabase.h"

#include "gc_rowinsert.h"
#include "gc_sequencetext.h"

QStringList GC_ComparisonDatabase::createStatements()
{
    return {
        "CREATE TABLE file_properties ( key TEXT, value TEXT )",
        "INSERT INTO file_properties VALUES ('version', 1 )",
        "INSERT INTO file_properties VALUES ('type', 'genomecomparisson')",
        "CREATE TABLE genomes ( id INTEGER, name TEXT, dna_sequence TEXT, length INTEGER, metadata TEXT )",
        "CREATE TABLE segments ( id_genome INTEGER, name TEXT, segment_from INTEGER, segment_to INTEGER , "
        "metadata TEXT, note TEXT, locus_tag TEXT )",
        "CREATE TABLE matchings ( id_target INTEGER, target_from INTEGER, target_to INTEGER, "
        "id_query INTEGER, query_from INTEGER, query_to INTEGER, align_target TEXT, align_query TEXT, "
        "similarity REAL, bitscore REAL)",
    };
}

QString GC_ComparisonDatabase::insertGenomeStatement()
{
    return QString("INSERT INTO genomes ( id, name, dna_sequence, length, metadata ) VALUES ( ? ,? , %1 , ? , '' )")
        .arg(GC_SequenceText::placeholder());
}

const GC_RowInsert &GC_ComparisonDatabase::segmentInsert()
{
    static const GC_RowInsert insert(
        "segments", {"id_genome", "name", "segment_from", "segment_to", "metadata", "note", "locus_tag"});
    return insert;
}

QString GC_ComparisonDatabase::insertMatchingStatement()
{
    return "INSERT INTO matchings VALUES ( ? ,? , ? , ? , ? , ? , ? , ? , ? , ? )";
}

QString GC_ComparisonDatabase::selectSequenceStatement(const QSqlDatabase &db)
{
    return QString("SELECT %1 FROM genomes WHERE id = ?").arg(GC_SequenceText::column(db, "dna_sequence"));
}
