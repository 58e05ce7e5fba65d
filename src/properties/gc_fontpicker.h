#ifndef GC_FONTPICKER_H
#define GC_FONTPICKER_H

#include <QFont>
#include <QWidget>

namespace Ui {
class GC_FontPicker;
}

// A font editor for property trees: family, point size and a button that
// opens the font dialog. Only changes made by the user are reported;
// setFont never emits.
class GC_FontPicker : public QWidget
{
    Q_OBJECT

public:
    explicit GC_FontPicker(QWidget *parent = nullptr);
    ~GC_FontPicker() override;

    QFont font() const { return m_font; }
    void setFont(const QFont &font);

signals:
    void valueChanged();

private slots:
    void on_toolButton_clicked();
    void on_spinBox_valueChanged(int size);
    void on_fontComboBox_currentFontChanged(const QFont &font);

private:
    Ui::GC_FontPicker *ui;
    QFont m_font;
};

#endif
