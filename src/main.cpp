#include <QApplication>
#include <QDebug>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("VEXA");
    QCoreApplication::setOrganizationDomain("kestal.org");
    QCoreApplication::setApplicationName("Kestal");
    QCoreApplication::setApplicationVersion("1.0");
    QApplication::setWindowIcon(QIcon(":/icons/kestal.svg"));

    qDebug() << "Kestal 1.0: the main window is not built yet.";
    return 0;
}
