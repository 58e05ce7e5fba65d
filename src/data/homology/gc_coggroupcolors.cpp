#include "gc_coggroupcolors.h"

#include <QSettings>

namespace {

struct DefaultColor
{
    const char *code;
    int red;
    int green;
    int blue;
};

// Reds for information storage and processing, greens for metabolism,
// mauve, ochre and pale yellows for cellular processes, purples for the
// poorly characterised categories.
const DefaultColor defaultColors[] = {
    {"-1", 255, 255, 255}, {"J", 102, 0, 0},     {"L", 153, 0, 0},     {"K", 204, 0, 0},
    {"A", 255, 0, 0},      {"B", 204, 51, 51},   {"E", 0, 51, 0},      {"I", 0, 102, 0},
    {"C", 0, 153, 0},      {"H", 0, 204, 0},     {"F", 0, 255, 0},     {"G", 102, 255, 102},
    {"P", 153, 255, 153},  {"Q", 204, 255, 204}, {"O", 153, 102, 153}, {"M", 204, 153, 0},
    {"D", 255, 204, 0},    {"U", 255, 255, 0},   {"T", 255, 255, 51},  {"V", 255, 255, 90},
    {"N", 255, 255, 120},  {"Y", 255, 255, 150}, {"Z", 255, 255, 180}, {"W", 255, 255, 204},
    {"R", 153, 0, 204},    {"S", 153, 51, 255},
};

} // namespace

QMap<QString, QColor> &GC_CogGroupColors::cogGroupColors()
{
    static QMap<QString, QColor> colors;
    return colors;
}

const QStringList &GC_CogGroupColors::codes()
{
    static const QStringList list = [] {
        QStringList codes;
        for (const DefaultColor &entry : defaultColors)
            codes.append(QString::fromLatin1(entry.code));
        return codes;
    }();
    return list;
}

QColor GC_CogGroupColors::defaultColor(const QString &code)
{
    for (const DefaultColor &entry : defaultColors) {
        if (code == QLatin1String(entry.code))
            return QColor(entry.red, entry.green, entry.blue, 255);
    }
    return QColor();
}

QString GC_CogGroupColors::settingsKey(const QString &code)
{
    return QStringLiteral("cogGroupColor,") + code;
}

void GC_CogGroupColors::loadGroupColors()
{
    QSettings settings;
    QMap<QString, QColor> &colors = cogGroupColors();
    for (const QString &code : codes()) {
        // value<QColor>() keeps a stored colour, reads a text as a colour
        // name and gives an invalid colour for anything else.
        const QVariant stored = settings.value(settingsKey(code), defaultColor(code));
        colors.insert(code, stored.value<QColor>());
    }
}

void GC_CogGroupColors::saveColorSettings()
{
    QSettings settings;
    QMap<QString, QColor> &colors = cogGroupColors();
    for (const QString &code : codes())
        settings.setValue(settingsKey(code), colors[code]);
}

QColor GC_CogGroupColors::groupColor(const QString &code)
{
    return cogGroupColors()[code];
}

QColor GC_CogGroupColors::peekColor(const QString &code)
{
    return cogGroupColors().value(code);
}

void GC_CogGroupColors::setGroupColor(const QString &code, const QColor &color)
{
    cogGroupColors().insert(code, color);
}
