#ifndef GC_RFAMCHECKBOX_H
#define GC_RFAMCHECKBOX_H

#include <QCheckBox>
#include <QString>

// The "show" switch of one RFAM family in the property panel: reports its
// state together with the family code, so one slot serves every family.
class GC_RfamCheckbox : public QCheckBox
{
    Q_OBJECT

public:
    explicit GC_RfamCheckbox(QWidget *parent = nullptr);

    QString rfamGroup() const { return m_rfamGroup; }
    void setRfamGroup(const QString &code) { m_rfamGroup = code; }

signals:
    void changed(QString rfamGroup, bool state);

protected slots:
    void slotChanged(int state);

private:
    QString m_rfamGroup;
};

#endif
