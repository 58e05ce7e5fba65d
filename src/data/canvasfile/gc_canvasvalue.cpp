#include "gc_canvasvalue.h"

bool GC_CanvasValue::toBool(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || text.isEmpty())
            return false;
        bool ok = false;
        const double number = text.toDouble(&ok);
        return ok && number != 0.0;
    }
    return value.toBool();
}

QColor GC_CanvasValue::toColor(const QVariant &value, const QColor &fallback)
{
    const QColor color = QColor::fromString(value.toString());
    return color.isValid() ? color : fallback;
}

QFont GC_CanvasValue::toFont(const QVariant &value, const QFont &fallback)
{
    const QString description = value.toString();
    if (description.isEmpty())
        return fallback;
    // Qt 6 reads the 10-field Qt 4 form too, mapping its weights (75 is bold).
    QFont font;
    return font.fromString(description) ? font : fallback;
}
