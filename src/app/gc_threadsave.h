#ifndef GC_THREADSAVE_H
#define GC_THREADSAVE_H

#include <QString>
#include <QThread>

class GC_GenomeScene;

// Writes the scene to its canvas file on a thread of its own. The outcome is
// read once finished() has arrived.
class GC_ThreadSave : public QThread
{
    Q_OBJECT

public:
    explicit GC_ThreadSave(QObject *parent = nullptr);

    void setScene(GC_GenomeScene *scene) { m_scene = scene; }

    bool succeeded() const { return m_succeeded; }
    // The writer's reason for a failed save; empty after success.
    QString lastErrorText() const { return m_lastErrorText; }

protected:
    void run() override;

private:
    GC_GenomeScene *m_scene = nullptr;
    bool m_succeeded = false;
    QString m_lastErrorText;
};

#endif
