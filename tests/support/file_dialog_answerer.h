#ifndef FILE_DIALOG_ANSWERER_H
#define FILE_DIALOG_ANSWERER_H

#include <QString>
#include <QStringList>

// Answers the next modal (non-native) QFileDialog from a test, the way a user
// would: the chosen paths are typed into its name field and the dialog is
// accepted. An empty list cancels it. What the dialog showed is kept for
// checks: its title, its start folder and its name filters.
namespace FileDialogAnswerer {

void choose(const QStringList &paths, int timeoutMs = 5000);
void cancel(int timeoutMs = 5000);

QString lastTitle();
QString lastDirectory();
QStringList lastNameFilters();

} // namespace FileDialogAnswerer

#endif
