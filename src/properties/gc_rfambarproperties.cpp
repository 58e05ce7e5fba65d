#include "gc_rfambarproperties.h"

#include "gc_colorpicker.h"
#include "gc_itempropertieswidget.h"
#include "gc_rfamcheckbox.h"
#include "gc_rfamhomologies.h"
#include "gc_rfampushbutton.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QTreeWidget>
#include <algorithm>

GC_RfamBarProperties::GC_RfamBarProperties(GC_RfamHomologies *bar)
    : bar(bar)
{
}

void GC_RfamBarProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_RfamHomologies *b = bar;
    height = newDoubleSpinBox(5.0, 99999.0, QString(), [this, b] { b->setHeight(height->value()); });
    height->setSingleStep(5.0);
    borders = newCheckBox([this, b] { b->setHorizontalBorders(borders->isChecked()); });

    QTreeWidgetItem *top = addTopLevel(tree, "RFAM bar");
    top->setSizeHint(1, height->sizeHint());
    addRow(top, "Height", height);
    addRow(top, "Horizontal borders", borders);
    fill();
    connectEditors(panel);

    QTreeWidgetItem *matched = addTopLevel(tree, "Matched RFAMS");
    QList<QPair<QString, int>> families;
    const QMap<QString, int> &counts = bar->codeCounts();
    families.reserve(counts.size());
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        families.append({it.key(), it.value()});
    // Most hits first; equal counts keep code order.
    std::stable_sort(families.begin(), families.end(),
                     [](const auto &a, const auto &b) { return a.second > b.second; });
    for (const auto &family : families)
        addFamily(matched, family.first, family.second, panel);
}

void GC_RfamBarProperties::addFamily(QTreeWidgetItem *parent, const QString &code, int count,
                                     GC_ItemPropertiesWidget *panel)
{
    auto *row = new QTreeWidgetItem(
        QStringList({GC_RfamHomologies::getRfamName(code), QString::number(count)}));
    row->setToolTip(0, code);
    parent->addChild(row);
    QTreeWidget *tree = row->treeWidget();

    QTreeWidgetItem *showRow = addTextRow(row, "Show in RFAM bar");
    auto *show = new GC_RfamCheckbox;
    show->setRfamGroup(code);
    show->setChecked(!GC_RfamHomologies::isCodeHidden(code));
    tree->setItemWidget(showRow, 1, show);
    QObject::connect(show, &GC_RfamCheckbox::changed, panel,
                     &GC_ItemPropertiesWidget::slotRfamCheckbox);

    QTreeWidgetItem *colorRow = addTextRow(row, "Color in RFAM bar");
    auto *color = new GC_ColorPicker;
    color->setId(code);
    color->setColor(GC_RfamHomologies::getColor(code));
    tree->setItemWidget(colorRow, 1, color);
    QObject::connect(color, &GC_ColorPicker::valueChangedWithId, panel,
                     &GC_ItemPropertiesWidget::slotRfamColor);

    QTreeWidgetItem *descriptionRow = addTextRow(row, "RFAM description");
    auto *description = new GC_RfamPushbutton;
    description->setText("Show");
    description->setRfamGroup(code);
    QObject::connect(description, &GC_RfamPushbutton::activated, panel,
                     &GC_ItemPropertiesWidget::slotRfamPushbutton);
    tree->setItemWidget(descriptionRow, 1, description);
}

void GC_RfamBarProperties::fillEditors()
{
    height->setValue(bar->height());
    borders->setChecked(bar->horizontalBorders());
}
