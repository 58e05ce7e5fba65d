#include "gc_exportimagedialog.h"

#include "gc_genomescene.h"
#include "ui_gc_exportimagedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSettings>

GC_ExportImageDialog::GC_ExportImageDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::GC_ExportImageDialog)
{
    ui->setupUi(this);
}

GC_ExportImageDialog::~GC_ExportImageDialog()
{
    delete ui;
}

void GC_ExportImageDialog::on_buttonexport_clicked()
{
    const bool antialiasing = ui->antialiasing->isChecked();
    const bool wholeCanvas = ui->wholecanvas->isChecked();
    const QString format = ui->comboBox->currentText();
    // The rendering may append the format to the name; the line edit keeps
    // the name as typed.
    QString fileName = ui->lineeditfile->text();
    const bool ok = m_scene && m_scene->exportImage(fileName, format, wholeCanvas, antialiasing);
    if (!ok) {
        // Name the cause when it is more than a missing name.
        const QString text = fileName.isEmpty() || !m_scene || m_scene->lastErrorText().isEmpty()
                                 ? tr("Error exporting the image. No file name especified.")
                                 : tr("Error exporting the image. %1").arg(m_scene->lastErrorText());
        QMessageBox::warning(this, tr("Image export"), text, QMessageBox::Ok);
        return;
    }
    QMessageBox::information(this, tr("Image export"), tr("File exported successfully"),
                             QMessageBox::Ok);
    accept();
}

void GC_ExportImageDialog::on_buttonexit_clicked()
{
    reject();
}

void GC_ExportImageDialog::on_buttonbrowse_clicked()
{
    QSettings settings;
    const QString start = settings.value("lastDirSave", QDir::homePath()).toString();
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Select image filename"), start,
                                                          tr("Images (*.png *.bmp *.jpg *.svg)"));
    if (fileName.isEmpty())
        return;
    ui->lineeditfile->setText(fileName);
    settings.setValue("lastDirSave", fileName);
}
