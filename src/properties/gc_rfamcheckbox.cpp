#include "gc_rfamcheckbox.h"

GC_RfamCheckbox::GC_RfamCheckbox(QWidget *parent)
    : QCheckBox(parent)
{
    connect(this, &QCheckBox::stateChanged, this, &GC_RfamCheckbox::slotChanged);
}

void GC_RfamCheckbox::slotChanged(int state)
{
    // A partial check counts as shown.
    emit changed(m_rfamGroup, state != Qt::Unchecked);
}
