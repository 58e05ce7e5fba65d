#include "gc_sequencefilereader.h"

GC_SequenceFileReader::GC_SequenceFileReader(const QString &path)
    : m_path(path)
{
}

bool GC_SequenceFileReader::read()
{
    m_succeeded = run(true);
    return m_succeeded;
}

bool GC_SequenceFileReader::check()
{
    m_succeeded = run(false);
    return m_succeeded;
}

QStringList GC_SequenceFileReader::warnings() const
{
    return m_succeeded && m_kind == GC_FileUtils::GenbankFile ? m_genbank.warnings() : QStringList();
}

bool GC_SequenceFileReader::run(bool withFeatures)
{
    m_errorText.clear();
    m_kind = GC_FileUtils::sequenceFileKind(m_path, &m_errorText);
    switch (m_kind) {
    case GC_FileUtils::GenbankFile: {
        m_genbank = GC_GenbankParser();
        m_genbank.setFileName(m_path);
        const bool ok = withFeatures ? m_genbank.parse() : m_genbank.check();
        m_errorText = m_genbank.lastErrorText();
        return ok;
    }
    case GC_FileUtils::FastaFile:
        return GC_FileUtils::readFastaFile(m_path, &m_fastaRecords, &m_errorText);
    case GC_FileUtils::NoSequenceFile:
        break;
    }
    if (m_errorText.isEmpty())
        m_errorText = QString("%1 is neither a Genbank nor a FASTA file").arg(m_path);
    return false;
}
