#include "file_dialog_answerer.h"

#include "modal_answerer.h"

#include <QFileDialog>
#include <QLineEdit>

namespace FileDialogAnswerer {
namespace {

QString shownTitle;
QString shownDirectory;
QStringList shownFilters;

} // namespace

void choose(const QStringList &paths, int timeoutMs)
{
    ModalAnswerer::handle([paths](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            qWarning("FileDialogAnswerer: the modal widget is not a file dialog; closing it");
            modal->close();
            return;
        }
        shownTitle = dialog->windowTitle();
        shownDirectory = dialog->directory().absolutePath();
        shownFilters = dialog->nameFilters();
        if (paths.isEmpty()) {
            dialog->reject();
            return;
        }
        QStringList quoted;
        for (const QString &path : paths)
            quoted.append('"' + path + '"');
        QLineEdit *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        if (!name) {
            qWarning("FileDialogAnswerer: no name field (a native dialog?); cancelling");
            dialog->reject();
            return;
        }
        name->setText(paths.size() == 1 ? paths.first() : quoted.join(' '));
        // accept() is protected in QFileDialog; Open does the same.
        QMetaObject::invokeMethod(dialog, "accept");
    }, timeoutMs);
}

void cancel(int timeoutMs)
{
    choose(QStringList(), timeoutMs);
}

QString lastTitle()
{
    return shownTitle;
}

QString lastDirectory()
{
    return shownDirectory;
}

QStringList lastNameFilters()
{
    return shownFilters;
}

} // namespace FileDialogAnswerer
