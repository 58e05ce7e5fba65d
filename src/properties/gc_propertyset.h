#ifndef GC_PROPERTYSET_H
#define GC_PROPERTYSET_H

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class GC_ColorPicker;
class GC_FontPicker;
class GC_Interval;
class GC_ItemPropertiesWidget;
class QAbstractSpinBox;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QObject;
class QSpinBox;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The rows of the property panel for one kind of canvas item: builds its
// editors and rows, fills the editors from the item and writes them back.
// Editors are made without a parent and handed to the tree, which owns them;
// the set only points at them and is destroyed before the tree is cleared.
//
// Each editor is registered with the writer that hands its value to the
// item. An edit runs the writer of the edited editor only, so values the
// panel shows from an earlier fill never overwrite what changed on the
// canvas since (drags, keys).
class GC_PropertySet
{
public:
    virtual ~GC_PropertySet();

    // Creates the editors, fills them, places the rows and connects the
    // editors to the panel.
    virtual void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) = 0;
    // Sets every editor from the item; never reports an edit.
    void fill();
    // Writes the edited editor back; null writes every editor, in order.
    void apply(QObject *editor);
    // Adjusts limits that depend on other values after an apply.
    virtual void fix() {}
    // Whether an edit here changes the saved document.
    virtual bool changesDocument() const { return true; }

    // Row labels go through the panel's translation context.
    static QString label(const char *text);

protected:
    GC_PropertySet() = default;

    // The editors' values from the item, with their signals blocked.
    virtual void fillEditors() = 0;

    QTreeWidgetItem *addTopLevel(QTreeWidget *tree, const char *text);
    QTreeWidgetItem *addGroup(QTreeWidgetItem *parent, const char *text);
    QTreeWidgetItem *addRow(QTreeWidgetItem *parent, const char *text, QWidget *editor);
    QTreeWidgetItem *addTextRow(QTreeWidgetItem *parent, const char *text,
                                const QString &value = QString());

    // Editor factories: each editor is registered with its writer. Number
    // boxes report a typed value only once it is finished.
    using Writer = std::function<void()>;
    QTextEdit *newTextEdit(Writer writer);
    QSpinBox *newSpinBox(int minimum, int maximum, const QString &suffix, Writer writer);
    QDoubleSpinBox *newDoubleSpinBox(double minimum, double maximum, const QString &suffix,
                                     Writer writer);
    QComboBox *newComboBox(const QStringList &entries, Writer writer);
    QCheckBox *newCheckBox(Writer writer);
    GC_ColorPicker *newColorPicker(Writer writer);
    GC_FontPicker *newFontPicker(Writer writer);

    // Connects every registered editor's change signal to the panel's apply.
    void connectEditors(GC_ItemPropertiesWidget *panel) const;

    // Text of a plain-text editor, set only when it differs (keeps the
    // cursor of a user typing in it).
    static void setPlainText(QTextEdit *edit, const QString &text);
    // Selects the entry of a code; a code without an entry keeps the
    // current entry.
    static void selectCode(QComboBox *combo, const QList<int> &codes, int code);
    // A range's two spin boxes, each end limiting the other. The fill
    // lifts the limits of an earlier fill first so neither end is clipped.
    static void fillRange(QSpinBox *from, QSpinBox *to, const GC_Interval &range);
    static void limitRange(QSpinBox *from, QSpinBox *to);

private:
    template <class T> T *registerEditor(T *editor, Writer writer);
    static void writesWhenFinished(QAbstractSpinBox *spin);
    void blockEditors(bool block) const;

    QList<QWidget *> m_editors;
    QHash<const QObject *, Writer> m_writers;
};

#endif
