#include "gc_propertyset.h"

#include "gc_colorpicker.h"
#include "gc_fontpicker.h"
#include "gc_interval.h"
#include "gc_itempropertieswidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>
#include <limits>

GC_PropertySet::~GC_PropertySet() = default;

QString GC_PropertySet::label(const char *text)
{
    return QCoreApplication::translate("GC_ItemPropertiesWidget", text);
}

void GC_PropertySet::fill()
{
    blockEditors(true);
    fillEditors();
    blockEditors(false);
}

void GC_PropertySet::apply(QObject *editor)
{
    if (editor) {
        const auto writer = m_writers.constFind(editor);
        if (writer != m_writers.constEnd())
            (*writer)();
        return;
    }
    for (QWidget *each : m_editors)
        m_writers.value(each)();
}

QTreeWidgetItem *GC_PropertySet::addTopLevel(QTreeWidget *tree, const char *text)
{
    auto *row = new QTreeWidgetItem(QStringList(label(text)));
    tree->addTopLevelItem(row);
    row->setExpanded(true);
    return row;
}

QTreeWidgetItem *GC_PropertySet::addGroup(QTreeWidgetItem *parent, const char *text)
{
    QTreeWidgetItem *row = addTextRow(parent, text);
    row->setExpanded(true);
    return row;
}

QTreeWidgetItem *GC_PropertySet::addRow(QTreeWidgetItem *parent, const char *text,
                                        QWidget *editor)
{
    QTreeWidgetItem *row = addTextRow(parent, text);
    // The row must be in the tree before it can hold a widget.
    row->treeWidget()->setItemWidget(row, 1, editor);
    return row;
}

QTreeWidgetItem *GC_PropertySet::addTextRow(QTreeWidgetItem *parent, const char *text,
                                            const QString &value)
{
    auto *row = new QTreeWidgetItem(QStringList({label(text), value}));
    parent->addChild(row);
    return row;
}

template <class T> T *GC_PropertySet::registerEditor(T *editor, Writer writer)
{
    m_editors.append(editor);
    m_writers.insert(editor, std::move(writer));
    return editor;
}

QTextEdit *GC_PropertySet::newTextEdit(Writer writer)
{
    auto *edit = new QTextEdit;
    edit->setAcceptRichText(false);
    return registerEditor(edit, std::move(writer));
}

void GC_PropertySet::writesWhenFinished(QAbstractSpinBox *spin)
{
    // Typing 30 passes through 3: written at each key, the 3 would cap the
    // values it limits (a body height, a minor tick) and the cap would stay.
    // The value is written on Enter, on leaving the box, or by its arrows.
    spin->setKeyboardTracking(false);
}

QSpinBox *GC_PropertySet::newSpinBox(int minimum, int maximum, const QString &suffix,
                                     Writer writer)
{
    auto *spin = new QSpinBox;
    spin->setRange(minimum, maximum);
    spin->setSuffix(suffix);
    writesWhenFinished(spin);
    return registerEditor(spin, std::move(writer));
}

QDoubleSpinBox *GC_PropertySet::newDoubleSpinBox(double minimum, double maximum,
                                                 const QString &suffix, Writer writer)
{
    auto *spin = new QDoubleSpinBox;
    spin->setRange(minimum, maximum);
    spin->setSuffix(suffix);
    writesWhenFinished(spin);
    return registerEditor(spin, std::move(writer));
}

QComboBox *GC_PropertySet::newComboBox(const QStringList &entries, Writer writer)
{
    auto *combo = new QComboBox;
    combo->addItems(entries);
    return registerEditor(combo, std::move(writer));
}

QCheckBox *GC_PropertySet::newCheckBox(Writer writer)
{
    return registerEditor(new QCheckBox, std::move(writer));
}

GC_ColorPicker *GC_PropertySet::newColorPicker(Writer writer)
{
    return registerEditor(new GC_ColorPicker, std::move(writer));
}

GC_FontPicker *GC_PropertySet::newFontPicker(Writer writer)
{
    return registerEditor(new GC_FontPicker, std::move(writer));
}

void GC_PropertySet::connectEditors(GC_ItemPropertiesWidget *panel) const
{
    for (QWidget *editor : m_editors) {
        if (auto *edit = qobject_cast<QTextEdit *>(editor))
            QObject::connect(edit, &QTextEdit::textChanged, panel,
                             &GC_ItemPropertiesWidget::slotApply);
        else if (auto *spin = qobject_cast<QSpinBox *>(editor))
            QObject::connect(spin, &QSpinBox::valueChanged, panel,
                             &GC_ItemPropertiesWidget::slotApply);
        else if (auto *dspin = qobject_cast<QDoubleSpinBox *>(editor))
            QObject::connect(dspin, &QDoubleSpinBox::valueChanged, panel,
                             &GC_ItemPropertiesWidget::slotApply);
        else if (auto *combo = qobject_cast<QComboBox *>(editor))
            QObject::connect(combo, &QComboBox::currentIndexChanged, panel,
                             &GC_ItemPropertiesWidget::slotApply);
        else if (auto *check = qobject_cast<QCheckBox *>(editor))
            QObject::connect(check, &QCheckBox::stateChanged, panel,
                             &GC_ItemPropertiesWidget::slotApply);
        else if (auto *color = qobject_cast<GC_ColorPicker *>(editor))
            QObject::connect(color, &GC_ColorPicker::valueChanged, panel,
                             &GC_ItemPropertiesWidget::slotApply);
        else if (auto *font = qobject_cast<GC_FontPicker *>(editor))
            QObject::connect(font, &GC_FontPicker::valueChanged, panel,
                             &GC_ItemPropertiesWidget::slotApply);
    }
}

void GC_PropertySet::setPlainText(QTextEdit *edit, const QString &text)
{
    if (edit->toPlainText() != text)
        edit->setPlainText(text);
}

void GC_PropertySet::selectCode(QComboBox *combo, const QList<int> &codes, int code)
{
    const int index = int(codes.indexOf(code));
    if (index >= 0)
        combo->setCurrentIndex(index);
}

void GC_PropertySet::fillRange(QSpinBox *from, QSpinBox *to, const GC_Interval &range)
{
    from->setMaximum(std::numeric_limits<int>::max());
    to->setMinimum(1);
    from->setValue(range.start());
    to->setValue(range.end());
    limitRange(from, to);
}

void GC_PropertySet::limitRange(QSpinBox *from, QSpinBox *to)
{
    const QSignalBlocker fromBlocker(from);
    const QSignalBlocker toBlocker(to);
    from->setMaximum(to->value());
    to->setMinimum(from->value());
}

void GC_PropertySet::blockEditors(bool block) const
{
    for (QWidget *editor : m_editors)
        editor->blockSignals(block);
}
