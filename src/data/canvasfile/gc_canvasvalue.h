#ifndef GC_CANVASVALUE_H
#define GC_CANVASVALUE_H

#include <QColor>
#include <QFont>
#include <QString>
#include <QVariant>

// How values are kept in canvas columns. Writers store Qt 6's forms;
// readers also accept what Qt 4 wrote: booleans as the texts "true" and
// "false", fonts as 10-field descriptions whose weight 75 means bold.
class GC_CanvasValue
{
public:
    static QString fromColor(const QColor &color) { return color.name(); }
    static QString fromFont(const QFont &font) { return font.toString(); }

    // 1/0 integers, "true"/"false" texts (any case), "1"/"0" texts.
    static bool toBool(const QVariant &value);
    // A colour from its name; an unreadable name gives fallback.
    static QColor toColor(const QVariant &value, const QColor &fallback = QColor());
    // A font from its description (Qt 4 or Qt 6 form); an unreadable one
    // gives fallback.
    static QFont toFont(const QVariant &value, const QFont &fallback = QFont());
};

#endif
