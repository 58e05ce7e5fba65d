#include "modal_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace ModalAnswerer {
namespace {

QString lastAnsweredText;
// Counted up by disarm(): an answer armed before stops polling.
int armings = 0;

// The test function that armed an answer: an answer left over from an
// earlier test (one whose box never came) must not answer a later test's box.
QByteArray currentTest()
{
    const char *name = QTest::currentTestFunction();
    return name ? QByteArray(name) : QByteArray();
}

void poll(std::shared_ptr<QElapsedTimer> clock, int timeoutMs, QByteArray armedIn, int arming,
          std::function<void(QWidget *)> handler)
{
    if (currentTest() != armedIn || arming != armings)
        return;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            lastAnsweredText = box->text();
        else
            lastAnsweredText = modal->windowTitle();
        handler(modal);
        return;
    }
    if (clock->elapsed() > timeoutMs) {
        qWarning("ModalAnswerer: no modal widget appeared");
        return;
    }
    QTimer::singleShot(20, [=] { poll(clock, timeoutMs, armedIn, arming, handler); });
}

QString plainText(const QString &text)
{
    QString plain = text;
    return plain.remove('&');
}

} // namespace

void handle(std::function<void(QWidget *)> handler, int timeoutMs)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    const QByteArray armedIn = currentTest();
    const int arming = armings;
    QTimer::singleShot(0, [=] { poll(clock, timeoutMs, armedIn, arming, handler); });
}

void disarm()
{
    ++armings;
}

void clickButton(QMessageBox::StandardButton button, int timeoutMs)
{
    handle([button](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (QAbstractButton *b = box->button(button)) {
                b->click();
                return;
            }
        }
        const auto boxes = modal->findChildren<QDialogButtonBox *>();
        for (QDialogButtonBox *buttons : boxes) {
            if (QPushButton *b = buttons->button(QDialogButtonBox::StandardButton(int(button)))) {
                b->click();
                return;
            }
        }
        qWarning("ModalAnswerer: button not found; closing the modal widget");
        modal->close();
    }, timeoutMs);
}

void clickButtonText(const QString &text, int timeoutMs)
{
    clickButtonTextThen(text, nullptr, timeoutMs);
}

void clickButtonTextThen(const QString &text, std::function<void(QWidget *)> then, int timeoutMs)
{
    handle([text, then, timeoutMs](QWidget *modal) {
        // Armed before the click: a box the click opens runs its own loop.
        if (then)
            handle(then, timeoutMs);
        const auto buttons = modal->findChildren<QAbstractButton *>();
        for (QAbstractButton *b : buttons) {
            if (plainText(b->text()) == plainText(text)) {
                b->click();
                return;
            }
        }
        qWarning("ModalAnswerer: button \"%s\" not found; closing", qPrintable(text));
        modal->close();
    }, timeoutMs);
}

QString lastText()
{
    return lastAnsweredText;
}

} // namespace ModalAnswerer
