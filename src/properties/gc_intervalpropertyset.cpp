#include "gc_intervalpropertyset.h"

#include "gc_anotation.h"
#include "gc_arrowpropertyset.h"
#include "gc_gene.h"
#include "gc_interval.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidgetItem>
#include <limits>

namespace {
constexpr int kMaxNuc = std::numeric_limits<int>::max();
} // namespace

template <class Item, class Base>
void GC_IntervalPropertySet<Item, Base>::newIntervalEditors(const QString &rangeSuffix)
{
    Item *edited = item;
    name = this->newTextEdit([this, edited] { edited->setName(name->toPlainText()); });
    from = this->newSpinBox(1, kMaxNuc, rangeSuffix, [this] { writeRange(); });
    to = this->newSpinBox(1, kMaxNuc, rangeSuffix, [this] { writeRange(); });
    y = this->newDoubleSpinBox(-99999.0, 99999.0, QString(),
                               [this, edited] { edited->setY(y->value()); });
    showText = this->newCheckBox([this, edited] { edited->setShowText(showText->isChecked()); });
}

template <class Item, class Base>
void GC_IntervalPropertySet<Item, Base>::addIntervalRows(QTreeWidgetItem *top)
{
    this->addRow(top, "Name", name);
    this->addRow(top, "From", from);
    this->addRow(top, "To", to);
    lengthRow = this->addTextRow(top, "Length");
    this->addRow(top, "Y", y);
}

template <class Item, class Base>
void GC_IntervalPropertySet<Item, Base>::fillIntervalEditors()
{
    this->setPlainText(name, item->getName());
    this->fillRange(from, to, item->getCoords());
    showLength();
    y->setValue(item->y());
    showText->setChecked(item->getShowText());
}

template <class Item, class Base>
void GC_IntervalPropertySet<Item, Base>::fixInterval()
{
    this->limitRange(from, to);
    showLength();
}

template <class Item, class Base>
void GC_IntervalPropertySet<Item, Base>::writeRange()
{
    item->setCoords(GC_Interval(from->value(), to->value()));
}

template <class Item, class Base>
void GC_IntervalPropertySet<Item, Base>::showLength()
{
    lengthRow->setText(1, QString::number(item->getCoords().length()));
}

template class GC_IntervalPropertySet<GC_Gene, GC_ArrowPropertySet>;
template class GC_IntervalPropertySet<GC_Anotation, GC_PropertySet>;
