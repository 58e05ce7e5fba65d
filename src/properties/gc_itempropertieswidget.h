#ifndef GC_ITEMPROPERTIESWIDGET_H
#define GC_ITEMPROPERTIESWIDGET_H

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class GC_GenomeScene;
class GC_PropertySet;
class GC_SelectionResume;
class QGraphicsItem;
class QGraphicsScene;
class QTreeWidget;

namespace Ui {
class GC_ItemPropertiesWidget;
}

// The property panel: a two-column tree with the properties of the one
// selected canvas item, each edit written straight back to the item (and
// the document marked modified); for several selected items, how many of
// each kind; for none, empty and disabled.
//
// setScene connects the scene's selectionChanged() and changedItem() to
// the panel (no one else needs to), so it follows the selection and
// refills after changes made on the canvas. A selection change empties
// the tree at once (the items it showed may be going) and builds it anew
// once control returns to the event loop: removing or deselecting
// thousands of items one by one emits as many selection changes, and each
// rebuild reads the whole selection.
class GC_ItemPropertiesWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GC_ItemPropertiesWidget(QWidget *parent = nullptr);
    ~GC_ItemPropertiesWidget() override;

    void setScene(GC_GenomeScene *scene);
    GC_GenomeScene *scene() const;
    // The item whose rows are shown; null in the empty and summary states.
    QGraphicsItem *shownItem() const { return item; }
    QTreeWidget *treeWidget() const;

public slots:
    void slotSelectionChanged();
    void slotPoblate();
    void slotFix();
    void slotApply();
    void slotRfamCheckbox(QString rfamGroup, bool state);
    void slotRfamPushbutton(QString rfamGroup);
    void slotRfamColor(QString rfamGroup, QColor color);

private:
    void clearTree();
    void rebuildForSelection();
    void buildTree(QGraphicsItem *selected);
    void buildSummary(const GC_SelectionResume &resume);
    void repaintRfamBar();

    Ui::GC_ItemPropertiesWidget *ui;
    // Held as the base class: a scene's base destructor still announces the
    // selection it drops, when the object is no longer a GC_GenomeScene.
    QPointer<QGraphicsScene> m_scene;
    QGraphicsItem *item = nullptr;
    std::unique_ptr<GC_PropertySet> m_properties;
    bool m_rebuildPending = false;
    // Set while an edit is written: a selection change it causes (a label
    // hidden by its switch) must not take the rows away under it.
    bool m_applying = false;
    bool m_rebuildAfterApply = false;
};

#endif
