#include "gc_comparisondatabase.h"

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
    return "INSERT INTO genomes ( id, name, dna_sequence, length, metadata ) VALUES ( ? ,? , ? , ? , '' )";
}

QString GC_ComparisonDatabase::insertSegmentStatement()
{
    return "INSERT INTO segments ( id_genome, name, segment_from, segment_to, metadata, note, locus_tag ) "
           "VALUES ( ? , ? , ? , ? , ? , ?, ? )";
}

QString GC_ComparisonDatabase::insertMatchingStatement()
{
    return "INSERT INTO matchings VALUES ( ? ,? , ? , ? , ? , ? , ? , ? , ? , ? )";
}

QString GC_ComparisonDatabase::selectSequenceStatement()
{
    return "SELECT dna_sequence FROM genomes WHERE id = ?";
}
