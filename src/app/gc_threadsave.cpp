#include "gc_threadsave.h"

#include "gc_genomescene.h"

GC_ThreadSave::GC_ThreadSave(QObject *parent)
    : QThread(parent)
{
}

void GC_ThreadSave::run()
{
    m_succeeded = false;
    m_lastErrorText.clear();
    if (!m_scene) {
        m_lastErrorText = tr("There is no document to save.");
        return;
    }
    m_scene->setLastErrorText(QString());
    m_succeeded = m_scene->saveToKestalCanvas();
    if (!m_succeeded) {
        m_lastErrorText = m_scene->lastErrorText();
        if (m_lastErrorText.isEmpty())
            m_lastErrorText = tr("The canvas file \"%1\" could not be written.").arg(m_scene->fileName());
    }
}
