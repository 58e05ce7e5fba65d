#include "gc_waitdialog.h"

#include "ui_gc_waitdialog.h"

GC_WaitDialog::GC_WaitDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::GC_WaitDialog)
{
    ui->setupUi(this);
}

GC_WaitDialog::~GC_WaitDialog()
{
    delete ui;
}

void GC_WaitDialog::setTitle(const QString &title)
{
    setWindowTitle(title);
}

QString GC_WaitDialog::label() const
{
    return ui->label->text();
}

void GC_WaitDialog::setLabel(const QString &text)
{
    ui->label->setText(text);
}
