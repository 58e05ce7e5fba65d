#ifndef GC_MAGICSTYLERWIDGET_H
#define GC_MAGICSTYLERWIDGET_H

#include "gc_style.h"

#include <QStringList>
#include <QVector>
#include <QWidget>
#include <functional>

class GC_ColorPicker;
class GC_FontPicker;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QTreeWidgetItem;

namespace Ui {
class GC_MagicStylerWidget;
}

// A panel that composes one style for many canvas items at once: a tree of
// style properties grouped by kind of item, each row with an apply check box
// and an editor. Apply gathers them into a GC_Style and emits it; the tool
// itself changes no item (the scene's slotApplyStyle does).
//
// A new tool is disabled and its tree empty: its owner calls buildTree()
// once and enables it.
class GC_MagicStylerWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GC_MagicStylerWidget(QWidget *parent = nullptr);
    ~GC_MagicStylerWidget() override;

    // Fills the tree with every row and its editors; later calls do nothing.
    void buildTree();
    bool isTreeBuilt() const { return !m_rows.isEmpty(); }

    // The style the editors show now. Before the tree is built the record
    // has every apply flag off, so it applies nothing.
    GC_Style style() const;

signals:
    // The record is passed by reference: connect it directly, not queued.
    void applyStyle(const GC_Style &style, bool forced, bool allItems, bool childItems);
    // Declared for receivers that follow the tool; nothing emits it yet.
    void updatedItem();

private slots:
    void on_buttonApply_clicked();

private:
    // One property row: its apply check box and how its editor's value is
    // written into a record.
    struct Row
    {
        QCheckBox *apply = nullptr;
        bool GC_Style::*flag = nullptr;
        QString path; // "Genome / Segment / Head height"
        std::function<void(GC_Style &)> writeValue;
    };

    QTreeWidgetItem *addGroup(QTreeWidgetItem *parent, const QString &label);
    void addRow(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                QWidget *editor, std::function<void(GC_Style &)> writeValue);

    QDoubleSpinBox *addPosition(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                         double GC_Style::*value);
    QDoubleSpinBox *addSize(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                     double GC_Style::*value);
    QDoubleSpinBox *addAngle(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                      double GC_Style::*value);
    QSpinBox *addCount(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                      int GC_Style::*value);
    QCheckBox *addCheck(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                      bool GC_Style::*value);
    // The combo's entries are plain texts; codes[i] is the value of entry i.
    QComboBox *addCombo(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                      int GC_Style::*value, const QStringList &entries,
                      const QVector<int> &codes);
    QComboBox *addAnchor(QTreeWidgetItem *parent, bool GC_Style::*flag, int GC_Style::*value);
    QComboBox *addArrowStyle(QTreeWidgetItem *parent, bool GC_Style::*flag, int GC_Style::*value);
    GC_ColorPicker *addColor(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                      QColor GC_Style::*value);
    GC_FontPicker *addFont(QTreeWidgetItem *parent, const QString &label, bool GC_Style::*flag,
                     QFont GC_Style::*value);

    void buildGenomeRows();
    void buildGeneRows();
    void buildAnotationRows();
    void buildMatchingRows();
    void buildRulerRows();
    void buildFreeTextRows();
    void buildSceneRows();
    // Tells the user which ticked rows hold a value no item can take.
    void reportRefusedRows(const GC_Style &record);

    Ui::GC_MagicStylerWidget *ui;
    QVector<Row> m_rows;
};

#endif
