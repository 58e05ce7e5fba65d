#include "gc_fontpicker.h"
#include "ui_gc_fontpicker.h"

#include <QFontDialog>
#include <QFontInfo>
#include <QPointer>
#include <QSignalBlocker>

GC_FontPicker::GC_FontPicker(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::GC_FontPicker)
{
    ui->setupUi(this);
}

GC_FontPicker::~GC_FontPicker()
{
    delete ui;
}

void GC_FontPicker::setFont(const QFont &font)
{
    m_font = font;
    // The child editors follow the font without reporting it as an edit.
    const QSignalBlocker comboBlocker(ui->fontComboBox);
    const QSignalBlocker spinBlocker(ui->spinBox);
    ui->fontComboBox->setCurrentFont(font);
    // A font sized in pixels has no point size of its own.
    const int size = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
    ui->spinBox->setValue(size);
}

void GC_FontPicker::on_toolButton_clicked()
{
    QPointer<GC_FontPicker> self(this);
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, m_font, this, tr("Select font"));
    if (!self || !accepted)
        return;
    setFont(chosen);
    emit valueChanged();
}

void GC_FontPicker::on_spinBox_valueChanged(int size)
{
    if (size <= 0 || size == m_font.pointSize())
        return;
    m_font.setPointSize(size);
    emit valueChanged();
}

void GC_FontPicker::on_fontComboBox_currentFontChanged(const QFont &font)
{
    QFont chosen = font;
    if (m_font.pointSize() > 0)
        chosen.setPointSize(m_font.pointSize());
    if (chosen == m_font)
        return;
    m_font = chosen;
    emit valueChanged();
}
