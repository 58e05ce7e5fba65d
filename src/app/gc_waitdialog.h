#ifndef GC_WAITDIALOG_H
#define GC_WAITDIALOG_H

#include <QDialog>

namespace Ui {
class GC_WaitDialog;
}

// A small modeless box with an icon and one line of text, shown while an
// opening or saving thread runs. It has no buttons; the thread's end deletes it.
class GC_WaitDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GC_WaitDialog(QWidget *parent = nullptr);
    ~GC_WaitDialog() override;

    void setTitle(const QString &title);
    QString label() const;

public slots:
    void setLabel(const QString &text);

private:
    Ui::GC_WaitDialog *ui;
};

#endif
