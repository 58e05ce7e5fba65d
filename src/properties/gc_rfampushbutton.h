#ifndef GC_RFAMPUSHBUTTON_H
#define GC_RFAMPUSHBUTTON_H

#include <QPushButton>
#include <QString>

// The "Show" button of one RFAM family in the property panel: reports a
// click together with the family code.
class GC_RfamPushbutton : public QPushButton
{
    Q_OBJECT

public:
    explicit GC_RfamPushbutton(QWidget *parent = nullptr);

    QString rfamGroup() const { return m_rfamGroup; }
    void setRfamGroup(const QString &code) { m_rfamGroup = code; }

signals:
    void activated(QString rfamGroup);

protected slots:
    void slotActivated();

private:
    QString m_rfamGroup;
};

#endif
