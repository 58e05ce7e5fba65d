#ifndef MODAL_ANSWERER_H
#define MODAL_ANSWERER_H

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// Answers the next modal dialog or message box from a test: a single-shot
// timer polls QApplication::activeModalWidget() and acts on it once it shows.
namespace ModalAnswerer {

// Clicks the standard button of the next modal message box or dialog button box.
void clickButton(QMessageBox::StandardButton button, int timeoutMs = 5000);

// Clicks the push button whose text (ampersands removed) matches.
void clickButtonText(const QString &text, int timeoutMs = 5000);

// Calls handler with the next modal widget; the handler closes it.
void handle(std::function<void(QWidget *)> handler, int timeoutMs = 5000);

// Clicks the push button of that text, and hands the modal widget its click
// opens (a message box, say) to then.
void clickButtonTextThen(const QString &text, std::function<void(QWidget *)> then, int timeoutMs = 5000);

// Drops every answer armed so far. A question is asked modal, inside the
// call that asks it: an answer armed before a call and dropped after it
// tells whether the call asked one, without waiting.
void disarm();

// Text of the last modal widget answered (a message box's text, else its title).
QString lastText();

} // namespace ModalAnswerer

#endif
