#ifndef GC_FREETEXT_H
#define GC_FREETEXT_H

#include "gc_itemtypes.h"
#include "gc_labelitem.h"

class GC_Style;
class QSqlQuery;

// A text the user places anywhere on the canvas. The scene owns and lists it;
// each one is a row of the canvas table freetext.
class GC_FreeText : public GC_LabelItem
{
public:
    GC_FreeText();

    int type() const override { return ITEMTYPE_FREETEXT; }

    // Shown exactly when in a scene whose free-texts switch is on.
    void updateVisibility();
    // Applies the free-text group of the style: every value when all is
    // true, otherwise those whose apply flag is set.
    void setStyle(const GC_Style &style, bool all);

    static QString sqlCreateTable();
    static QString sqlSelect();
    static QString sqlInsert();
    bool saveToDb(QSqlQuery &query) const;
    // Fills the text from a row of sqlSelect().
    void loadFromQuery(const QSqlQuery &query);
};

#endif
