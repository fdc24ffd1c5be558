#include "hidingswitch.h"

#include <QGuiApplication>

namespace platform {

void HidingSwitch::keybdEvent(quint8 virtualKey, quint8, quint32 flags, quintptr)
{
    if (virtualKey != VK_Tab || (flags & KeyUp))
        return;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        // The viewer's windows; a tooltip or menu that showed again would hang about.
        const Qt::WindowType type = window->type();
        if (window->isVisible() && (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool)) {
            m_hidden.append(window);
            window->hide();
        }
    }
    QGuiApplication::sync();  // withdrawn now, so that the compositor moves the focus
}

void HidingSwitch::showAgain()
{
    for (const QPointer<QWindow> &window : std::as_const(m_hidden)) {
        if (!window)
            continue;
        // A window that showed with activation would take the focus from the user's.
        window->setProperty("_q_showWithoutActivating", true);
        window->show();
        window->raise();
        window->setProperty("_q_showWithoutActivating", QVariant());
    }
    m_hidden.clear();
}

KeyTyper::Result ShowAgainTyper::keyDone()
{
    const Result done = m_typer.keyDone();
    m_switch.showAgain();
    return done;
}

}  // namespace platform
