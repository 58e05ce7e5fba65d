#ifndef GC_COLORPICKER_H
#define GC_COLORPICKER_H

#include <QColor>
#include <QString>
#include <QWidget>

namespace Ui {
class GC_ColorPicker;
}

// A colour editor for property trees: a swatch and a button that opens the
// colour dialog. Only a colour chosen by the user is reported; setColor and
// setId never emit. The id lets one slot serve many pickers (one per key).
class GC_ColorPicker : public QWidget
{
    Q_OBJECT

public:
    explicit GC_ColorPicker(QWidget *parent = nullptr);
    ~GC_ColorPicker() override;

    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    QString id() const { return m_id; }
    void setId(const QString &id) { m_id = id; }

signals:
    void valueChanged();
    void valueChangedWithId(QString id, QColor color);

private slots:
    void on_toolButton_clicked();

private:
    Ui::GC_ColorPicker *ui;
    QColor m_color;
    QString m_id;
};

#endif
