#ifndef GC_PUSHBUTTON_CUSTOM_H
#define GC_PUSHBUTTON_CUSTOM_H

#include <QPushButton>

// A push button placed in a table cell that reports its row's key and row
// number when clicked, so one slot serves every row.
class GC_PushButton_Custom : public QPushButton
{
    Q_OBJECT

public:
    explicit GC_PushButton_Custom(QWidget *parent = nullptr);
    ~GC_PushButton_Custom() override;

    void setId(int value) { id = value; }
    void setRow(int value) { row = value; }

signals:
    void activated(int id, int row);

public slots:
    void slotActivated();

private:
    int id = -1;
    int row = -1;
};

#endif
