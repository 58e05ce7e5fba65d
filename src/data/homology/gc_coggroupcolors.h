#ifndef GC_COGGROUPCOLORS_H
#define GC_COGGROUPCOLORS_H

#include <QColor>
#include <QMap>
#include <QString>
#include <QStringList>

// The process-wide colour of each COG functional category: "-1" (no category)
// and the 25 category letters. Filled at start-up from the settings with a
// built-in default per code, changed by the property panel, written back to
// the settings when the main window closes. GUI thread only.
class GC_CogGroupColors
{
public:
    // The map itself (code -> colour). A writing look-up (operator[]) adds a
    // missing code with an invalid colour; value() adds nothing.
    static QMap<QString, QColor> &cogGroupColors();

    // The 26 codes in the order they are loaded and saved.
    static const QStringList &codes();
    // The built-in colour of one of the 26 codes; invalid for any other code.
    static QColor defaultColor(const QString &code);
    // "cogGroupColor," followed by the code.
    static QString settingsKey(const QString &code);

    // Reads the 26 codes from the settings, each defaulting to its built-in
    // colour; a stored text is read as a colour name, and a value that is no
    // colour gives an invalid colour. Writes nothing; other keys of the map stay.
    static void loadGroupColors();
    // Writes all 26 codes to the settings (a code missing from the map is
    // added with, and written as, an invalid colour); no other key.
    static void saveColorSettings();

    // The code's colour; a code the map lacks is added with an invalid colour.
    static QColor groupColor(const QString &code);
    // The code's colour without adding anything (invalid when absent).
    static QColor peekColor(const QString &code);
    static void setGroupColor(const QString &code, const QColor &color);
};

#endif
