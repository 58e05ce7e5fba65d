#ifndef GC_INTERVALPROPERTYSET_H
#define GC_INTERVALPROPERTYSET_H

#include "gc_propertyset.h"

// The rows shared by the kinds of item that cover a nucleotide interval of
// their genome (genes and annotations): name, range with each end limiting
// the other, its length, vertical place and the text switch. Base is the set
// the kind's other rows come from; the members are instantiated for each
// kind in the source file.
template <class Item, class Base = GC_PropertySet>
class GC_IntervalPropertySet : public Base
{
protected:
    template <class... BaseArgs>
    explicit GC_IntervalPropertySet(Item *item, BaseArgs... baseArgs)
        : Base(baseArgs...)
        , item(item)
    {
    }

    // Creates the name, range ends (with the suffix), y and text switch
    // editors, in this order.
    void newIntervalEditors(const QString &rangeSuffix);
    // The "Name", "From", "To", "Length" and "Y" rows; each kind places the
    // "Show text" row itself.
    void addIntervalRows(QTreeWidgetItem *top);
    void fillIntervalEditors();
    // After an edit: the range ends limit each other, the length follows.
    void fixInterval();

    Item *const item;
    QTextEdit *name = nullptr;
    QCheckBox *showText = nullptr;

private:
    void writeRange();
    void showLength();

    QTreeWidgetItem *lengthRow = nullptr;
    QSpinBox *from = nullptr;
    QSpinBox *to = nullptr;
    QDoubleSpinBox *y = nullptr;
};

#endif
