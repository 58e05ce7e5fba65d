#include "menu_answerer.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <memory>

namespace MenuAnswerer {
namespace {

QStringList recorded;

void poll(std::shared_ptr<QElapsedTimer> clock, int timeoutMs, const QString &entryText)
{
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (menu && menu->isVisible()) {
        recorded.clear();
        QAction *chosen = nullptr;
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions) {
            recorded.append(action->isSeparator() ? QStringLiteral("----") : action->text());
            if (!chosen && !action->isSeparator() && !entryText.isEmpty()
                && action->text() == entryText)
                chosen = action;
        }
        menu->close();
        if (chosen)
            chosen->trigger();
        return;
    }
    if (clock->elapsed() > timeoutMs) {
        qWarning("MenuAnswerer: no popup menu appeared");
        return;
    }
    QTimer::singleShot(10, [=] { poll(clock, timeoutMs, entryText); });
}

} // namespace

void pick(const QString &entryText, int timeoutMs)
{
    recorded.clear();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [=] { poll(clock, timeoutMs, entryText); });
}

QStringList lastEntries()
{
    return recorded;
}

} // namespace MenuAnswerer
