#include "windowdrag.h"

#include "layout/layoutmath.h"

#include <QCursor>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDrag::WindowDrag(QWidget *window, bool systemMove, std::function<void()> pullInside)
    : QObject(window), m_window(window), m_systemMove(systemMove), m_pullInside(std::move(pullInside))
{
    window->installEventFilter(this);
}

void WindowDrag::watch(QWidget *part, std::function<void(int)> mouseDown, std::function<void()> doubleClick)
{
    m_parts[part] = {std::move(mouseDown), std::move(doubleClick)};
    part->installEventFilter(this);
}

void WindowDrag::press(int button)
{
    if (button != layoutmath::LeftButton)
        return;
    // The move goes on after this returns; the window is pulled back inside the
    // desktop once the button is released.
    QWindow *handle = m_window->windowHandle();
    if (m_systemMove && handle && handle->startSystemMove())
        follow(SystemMove);  // its end shows up as the release of the button
    else
        follow(ManualMove);  // the window follows the pointer until the release
}

bool WindowDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        // The window's final position can arrive just after the release.
        if (event->type() == QEvent::Move && m_settle.isValid() && m_settle.elapsed() < 500)
            m_pullInside();
        return false;
    }
    const auto part = m_parts.find(watched);
    if (part == m_parts.end())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressed = true;
        m_pressGlobal = mouse->globalPosition().toPoint();
        part->second.mouseDown(layoutmath::buttonMask(mouse->button()));
        m_pressed = false;
        return true;
    }
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_state = Idle;
            part->second.doubleClick();
        }
        return true;
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        // Moves still reaching the window with the button held mean the window
        // manager did not take the move over (its pointer grab failed): follow
        // the pointer here, from the same grab point it would have used.
        if (m_state == SystemMove && (mouse->buttons() & Qt::LeftButton))
            m_state = ManualMove;
        if (m_state == ManualMove)
            m_window->move(mouse->globalPosition().toPoint() - m_grabOffset);
        return m_state != Idle;
    }
    case QEvent::MouseButtonRelease:
        if (m_state != Idle && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            dragEnded();
        return true;
    default: return false;
    }
}

void WindowDrag::follow(State state)
{
    m_state = state;
    const QPoint from = m_pressed ? m_pressGlobal : QCursor::pos();
    m_grabOffset = from - m_window->geometry().topLeft();
}

void WindowDrag::dragEnded()
{
    m_state = Idle;
    m_pullInside();
    m_settle.start();
}
