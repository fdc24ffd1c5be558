#include "compactmode.h"

#include "captionbuttons.h"
#include "clockcaption.h"
#include "layout/layoutmath.h"

#include <QTimer>
#include <QWidget>

CompactMode::CompactMode(QWidget *window, QTimer *timer, CaptionButtons &captionButtons)
    : m_window(window),
      m_timer(timer),
      m_captionButtons(captionButtons),
      m_clock([] { return QDateTime::currentDateTime(); })
{}

void CompactMode::enter()
{
    m_timer->start();
    // A maximized window is restored first; its normal height is the one kept
    // (read from the normal geometry: the window system restores asynchronously).
    const bool maximized = m_window->windowState() & Qt::WindowMaximized;
    const QRect normal = maximized ? m_window->normalGeometry() : m_window->geometry();
    m_window->setWindowState(m_window->windowState() &
                             ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    if (maximized)
        m_captionButtons.setPicture(CaptionButton::Maximize, CaptionPicture::Maximize);
    m_savedHeight = layoutmath::toTwips(normal.isValid() ? normal.height() : m_window->height());
    m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
}

void CompactMode::leave()
{
    m_timer->stop();
    m_window->setWindowTitle(QString());
    // Back to the saved height with the bottom edge where it is now.
    const QRect now = m_window->geometry();
    const double h = layoutmath::toTwips(now.height());
    const double t = layoutmath::toTwips(now.y());
    const int top = layoutmath::toPixels(t - (m_savedHeight - h));
    const int height = layoutmath::toPixels(m_savedHeight);
    if (top != now.y() || height != now.height())
        m_window->setGeometry(now.x(), top, now.width(), height);
}

void CompactMode::leaveIfCaptionShows()
{
    // The timer alone does not count: state echoes from the window manager arrive
    // while the window is being minimized.
    if (!m_window->windowTitle().isEmpty())
        leave();
}

void CompactMode::tick()
{
    const clockcaption::Tick tick = clockcaption::tick(m_clock, m_lastSecond, m_frameCounter);
    if (tick.changed)
        m_window->setWindowTitle(tick.caption);
}
