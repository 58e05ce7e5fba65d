#include "gc_pushbutton_custom.h"

GC_PushButton_Custom::GC_PushButton_Custom(QWidget *parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &GC_PushButton_Custom::slotActivated);
}

GC_PushButton_Custom::~GC_PushButton_Custom() = default;

void GC_PushButton_Custom::slotActivated()
{
    emit activated(id, row);
}
