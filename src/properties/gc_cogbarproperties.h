#ifndef GC_COGBARPROPERTIES_H
#define GC_COGBARPROPERTIES_H

#include "gc_propertyset.h"

#include <QList>

class GC_CogHomologies;

// The rows of a COG bar: the statistics button, the bar's height and
// super-category switches, and the process-wide colour of each COG
// category (shared by every COG bar and the statistics chart).
class GC_CogBarProperties : public GC_PropertySet
{
public:
    explicit GC_CogBarProperties(GC_CogHomologies *bar);

    void build(QTreeWidget *tree, GC_ItemPropertiesWidget *panel) override;

    struct Category
    {
        int superCategory;
        const char *code;
        const char *name;
    };
    // The 25 categories in display order.
    static const QList<Category> &categories();
    static const char *superCategoryName(int n);

protected:
    void fillEditors() override;

private:
    GC_CogHomologies *bar;
    QDoubleSpinBox *height = nullptr;
    QList<QCheckBox *> superCategories;
    QList<GC_ColorPicker *> colors;
};

#endif
