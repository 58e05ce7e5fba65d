#include "gc_rfampushbutton.h"

GC_RfamPushbutton::GC_RfamPushbutton(QWidget *parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &GC_RfamPushbutton::slotActivated);
}

void GC_RfamPushbutton::slotActivated()
{
    emit activated(m_rfamGroup);
}
