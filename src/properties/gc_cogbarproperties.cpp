#include "gc_cogbarproperties.h"

#include "gc_coghomologies.h"
#include "gc_colorpicker.h"
#include "gc_genomescene.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTreeWidget>

GC_CogBarProperties::GC_CogBarProperties(GC_CogHomologies *bar)
    : bar(bar)
{
}

const QList<GC_CogBarProperties::Category> &GC_CogBarProperties::categories()
{
    static const QList<Category> list = {
        {1, "J", "Translation, ribosomal structure and biogenesis"},
        {1, "L", "Replication, recombination and repair"},
        {1, "K", "Transcription"},
        {1, "A", "RNA processing and modification"},
        {1, "B", "Chromatin structure and dynamics"},
        {2, "E", "Amino acid transport and metabolism"},
        {2, "I", "Lipid transport and metabolism"},
        {2, "C", "Energy production and conversion"},
        {2, "H", "Coenzyme transport and metabolism"},
        {2, "F", "Nucleotide transport and metabolism"},
        {2, "G", "Carbohydrate transport and metabolismn"},
        {2, "P", "Inorganic ion transport and metabolism"},
        {2, "Q", "Secondary metabolites biosynthesis, transport and catabolism"},
        {3, "O", "Posttranslational modification, protein turnover, chaperones"},
        {3, "M", "Cell wall/membrane/envelope biogenesis"},
        {3, "D", "Cell cycle control, cell division, chromosome partitioning"},
        {3, "U", "Intracellular trafficking, secretion, and vesicular transport"},
        {3, "T", "Signal transduction mechanisms"},
        {3, "V", "Defense mechanisms"},
        {3, "N", "Cell motility"},
        {3, "Y", "Nuclear structure"},
        {3, "Z", "Cytoskeleton"},
        {3, "W", "Extracellular structures"},
        {4, "R", "General function prediction only"},
        {4, "S", "Function unknown"},
    };
    return list;
}

const char *GC_CogBarProperties::superCategoryName(int n)
{
    switch (n) {
    case 1:
        return "Information, storage and processing";
    case 2:
        return "Metabolism";
    case 3:
        return "Cellular Processes and signaling";
    case 4:
        return "Poorly characterized";
    default:
        return "";
    }
}

void GC_CogBarProperties::build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel)
{
    GC_CogHomologies *b = bar;
    height = newDoubleSpinBox(5.0, 99999.0, QString(), [this, b] { b->setHeight(height->value()); });
    height->setSingleStep(5.0);
    for (int n = 1; n <= 4; ++n) {
        // The bar does not repaint by itself for a switch.
        superCategories.append(newCheckBox([this, b, n] {
            b->setSuperCategoryVisible(n, superCategories.at(n - 1)->isChecked());
            b->update();
        }));
    }
    for (const Category &category : categories()) {
        const QString code = QString::fromLatin1(category.code);
        const int index = int(colors.size());
        colors.append(newColorPicker([this, b, code, index] {
            b->setGroupColor(code, colors.at(index)->color());
        }));
    }

    QTreeWidgetItem *statistics = addTopLevel(tree, "COG statistics");
    statistics->setSizeHint(1, height->sizeHint());
    auto *show = new QPushButton("Show");
    tree->setItemWidget(statistics, 1, show);
    if (auto *owner = qobject_cast<GC_GenomeScene *>(bar->scene()))
        QObject::connect(show, &QPushButton::clicked, owner,
                         &GC_GenomeScene::slotCogHomologiesStatistics);
    QTreeWidgetItem *group = addTopLevel(tree, "COG bar");
    addRow(group, "Height", height);
    for (int n = 1; n <= 4; ++n)
        addRow(group, superCategoryName(n), superCategories.at(n - 1));
    QTreeWidgetItem *heading = nullptr;
    int shownSuperCategory = 0;
    for (int i = 0; i < categories().size(); ++i) {
        const Category &category = categories().at(i);
        if (category.superCategory != shownSuperCategory) {
            shownSuperCategory = category.superCategory;
            heading = addTopLevel(tree, superCategoryName(shownSuperCategory));
        }
        addRow(heading, category.name, colors.at(i));
    }

    fill();
    connectEditors(panel);
}

void GC_CogBarProperties::fillEditors()
{
    height->setValue(bar->height());
    for (int n = 1; n <= 4; ++n)
        superCategories.at(n - 1)->setChecked(bar->isSuperCategoryVisible(n));
    for (int i = 0; i < categories().size(); ++i)
        colors.at(i)->setColor(bar->groupColor(QString::fromLatin1(categories().at(i).code)));
}
