#ifndef GC_BLASTOPTIONS_H
#define GC_BLASTOPTIONS_H

#include <QString>

// Parameters of a nucleotide BLAST comparison. Only the task reaches a
// command line; the five numbers are kept for the options dialog.
class GC_BlastOptions
{
public:
    GC_BlastOptions() = default;

    QString task() const { return m_task; }
    int wordSize() const { return m_wordSize; }
    int gapOpen() const { return m_gapOpen; }
    int gapExtend() const { return m_gapExtend; }
    int penalty() const { return m_penalty; }
    int reward() const { return m_reward; }

    void setTask(const QString &task) { m_task = task; }
    void setWordSize(int value) { m_wordSize = value; }
    void setGapOpen(int value) { m_gapOpen = value; }
    void setGapExtend(int value) { m_gapExtend = value; }
    void setPenalty(int value) { m_penalty = value; }
    void setReward(int value) { m_reward = value; }

private:
    QString m_task = QStringLiteral("blastn");
    int m_wordSize = 11;
    int m_gapOpen = 5;
    int m_gapExtend = 2;
    int m_penalty = -3;
    int m_reward = 1;
};

#endif
