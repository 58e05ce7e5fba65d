#ifndef MENU_ANSWERER_H
#define MENU_ANSWERER_H

#include <QString>
#include <QStringList>

// Answers the next popup menu from a test: a single-shot timer polls
// QApplication::activePopupWidget(), records the menu's entries and then
// triggers the entry with the given text, or closes the menu when the text
// is empty or not found.
namespace MenuAnswerer {

void pick(const QString &entryText, int timeoutMs = 5000);

// Entries of the last menu answered, in order; separators as "----".
QStringList lastEntries();

} // namespace MenuAnswerer

#endif
