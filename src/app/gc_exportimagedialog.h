#ifndef GC_EXPORTIMAGEDIALOG_H
#define GC_EXPORTIMAGEDIALOG_H

#include <QDialog>

class GC_GenomeScene;

namespace Ui {
class GC_ExportImageDialog;
}

// Asks for an image file name, a format (SVG, PNG, JPG, BMP), the area to
// draw and antialiasing, then has the scene render the image.
class GC_ExportImageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GC_ExportImageDialog(QWidget *parent = nullptr);
    ~GC_ExportImageDialog() override;

    void setScene(GC_GenomeScene *scene) { m_scene = scene; }

private slots:
    void on_buttonexport_clicked();
    void on_buttonexit_clicked();
    void on_buttonbrowse_clicked();

private:
    Ui::GC_ExportImageDialog *ui;
    GC_GenomeScene *m_scene = nullptr;
};

#endif
