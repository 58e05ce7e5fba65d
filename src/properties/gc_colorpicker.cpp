#include "gc_colorpicker.h"
#include "ui_gc_colorpicker.h"

#include <QColorDialog>
#include <QPointer>

GC_ColorPicker::GC_ColorPicker(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::GC_ColorPicker)
{
    ui->setupUi(this);
    setColor(m_color);
}

GC_ColorPicker::~GC_ColorPicker()
{
    delete ui;
}

void GC_ColorPicker::setColor(const QColor &color)
{
    m_color = color;
    ui->label->setStyleSheet(QString("background :%1 ").arg(color.name()));
}

void GC_ColorPicker::on_toolButton_clicked()
{
    // The dialog runs its own event loop; the tree holding this picker may
    // be rebuilt meanwhile.
    QPointer<GC_ColorPicker> self(this);
    const QColor chosen = QColorDialog::getColor(m_color, this);
    if (!self || !chosen.isValid())
        return;
    setColor(chosen);
    emit valueChanged();
    if (self)
        emit valueChangedWithId(m_id, chosen);
}
