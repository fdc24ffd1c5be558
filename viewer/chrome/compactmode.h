#pragma once
// Compact mode: the window minimized with a live clock caption; restored, it gets
// back the height it had, with its bottom edge where it is.
#include <QDateTime>
#include <functional>

class QTimer;
class QWidget;
class CaptionButtons;

class CompactMode {
public:
    // The clock lets tests set the date and time the caption shows.
    using Clock = std::function<QDateTime()>;

    CompactMode(QWidget *window, QTimer *timer, CaptionButtons &captionButtons);

    void enter();
    void leave();
    // A window restored while the clock caption shows leaves compact mode.
    void leaveIfCaptionShows();
    // One step of the caption clock (Timer1).
    void tick();

    double savedHeight() const { return m_savedHeight; }
    void setClock(Clock clock) { m_clock = std::move(clock); }

private:
    QWidget *m_window;
    QTimer *m_timer;
    CaptionButtons &m_captionButtons;
    Clock m_clock;
    double m_savedHeight = 0;  // twips, taken when compact mode starts
    qint16 m_lastSecond = 0;
    qint16 m_frameCounter = 0;
};
