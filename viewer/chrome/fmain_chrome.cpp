// FMain: caption buttons, compact mode, dragging by the title band, idle clock.
#include "main/fmain.h"

#include "chrome/clockcaption.h"
#include "chrome/ftitle.h"
#include "layout/coolbar.h"
#include "layout/layoutmath.h"
#include "resources/pictures.h"
#include "util/ctrlflavors.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int PictureMinimize = 1;
constexpr int PictureMaximize = 2;
constexpr int PictureRestore = 3;
constexpr int PictureClose = 4;

QString captionButtonName(int picture)
{
    switch (picture) {
    case PictureMinimize:
        return QStringLiteral("最小化");
    case PictureMaximize:
        return QStringLiteral("最大化");
    case PictureRestore:
        return QStringLiteral("元に戻す");
    default:
        return QStringLiteral("閉じる");
    }
}

void setCaptionPicture(QToolBar *toolbar, QAction *action, int picture)
{
    action->setData(picture);
    action->setIcon(QIcon(pictures::captionPicture(picture)));
    action->setText(captionButtonName(picture));
    action->setToolTip(captionButtonName(picture));
    if (QWidget *button = toolbar->widgetForAction(action))
        button->setAccessibleName(captionButtonName(picture));
}

} // namespace

// Routes presses and double-clicks on the title band, its icon and its title to
// the window's handlers, and follows a drag of the window until it ends.
class TitleBandFilter : public QObject {
public:
    explicit TitleBandFilter(FMain *owner) : QObject(owner), m_owner(owner) {}

    // The system moves the window; its end shows up as the release of the button.
    void followSystemMove() { follow(SystemMove); }
    // No system move here: the window follows the pointer until the button is released.
    void followManualMove() { follow(ManualMove); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_owner) {
            // The window's final position can arrive just after the release.
            if (event->type() == QEvent::Move && m_settle.isValid() && m_settle.elapsed() < 500)
                m_owner->ctrlFlavors()->InsideDeskTop();
            return false;
        }
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const int button = layoutmath::buttonMask(mouse->button());
            m_pressed = true;
            m_pressGlobal = mouse->globalPosition().toPoint();
            if (watched == m_owner->Frame2)
                m_owner->Frame2_MouseDown(button);
            else if (watched == m_owner->Image1)
                m_owner->Image1_MouseDown(button);
            else
                m_owner->Label1_MouseDown(button);
            m_pressed = false;
            return true;
        }
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                m_state = Idle;
                if (watched == m_owner->Frame2)
                    m_owner->Frame2_DblClick();
                else if (watched == m_owner->Image1)
                    m_owner->Image1_DblClick();
                else
                    m_owner->Label1_DblClick();
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
                m_owner->move(mouse->globalPosition().toPoint() - m_grabOffset);
            return m_state != Idle;
        }
        case QEvent::MouseButtonRelease:
            if (m_state != Idle && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                dragEnded();
            return true;
        default:
            return false;
        }
    }

private:
    enum State { Idle, SystemMove, ManualMove };

    void follow(State state)
    {
        m_state = state;
        const QPoint from = m_pressed ? m_pressGlobal : QCursor::pos();
        m_grabOffset = from - m_owner->geometry().topLeft();
    }

    void dragEnded()
    {
        m_state = Idle;
        m_owner->ctrlFlavors()->InsideDeskTop();
        m_settle.start();
    }

    FMain *m_owner;
    State m_state = Idle;
    QPoint m_grabOffset;
    bool m_pressed = false;  // inside the press handler
    QPoint m_pressGlobal;
    QElapsedTimer m_settle;
};

void FMain::buildChrome()
{
    setWindowIcon(pictures::appIcon());

    // The title band looks like an active title bar.
    const QColor caption = palette().color(QPalette::Active, QPalette::Highlight);
    const QColor captionText = palette().color(QPalette::Active, QPalette::HighlightedText);
    QPalette band = Frame2->palette();
    band.setColor(QPalette::Window, caption);
    band.setColor(QPalette::WindowText, captionText);
    Frame2->setPalette(band);
    Frame2->setAutoFillBackground(true);
    Frame2->setAccessibleName(QStringLiteral("タイトルバンド"));
    Image1->setScaledContents(true);
    QFont titleFont;
    titleFont.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                           QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")});
    titleFont.setPointSize(9);
    titleFont.setBold(true);
    Label1->setFont(titleFont);

    // The window's own caption buttons.
    Toolbar3->setIconSize(QSize(12, 10));
    Toolbar3->setAccessibleName(QStringLiteral("キャプションボタン"));
    const int startPictures[] = {PictureMinimize, PictureMaximize, PictureClose};
    for (int index = 1; index <= 3; ++index) {
        QAction *action = Toolbar3->addAction(QString());
        setCaptionPicture(Toolbar3, action, startPictures[index - 1]);
        connect(action, &QAction::triggered, this, [this, index] { Toolbar3_ButtonClick(index); });
    }

    // Bands: title band and caption buttons; menu buttons; command buttons and picker.
    m_coolBar->addBand(Frame2, 495, 255, 5835, false);
    m_coolBar->addBand(Toolbar3, 495, 240, 495, false);
    m_coolBar->addBand(Toolbar2, 495, 270, 4620, true);
    m_coolBar->addBand(Toolbar4, 495, 330, 240, true);
    m_coolBar->addBand(Combo1, 495, 315, 1005, false, QStringLiteral("項目"));
    m_coolBar->setBandColor(1, caption);
    connect(m_coolBar, &CoolBar::changed, this, &FMain::ArrangeBands);

    m_titleBandFilter = new TitleBandFilter(this);
    for (QWidget *w : {static_cast<QWidget *>(Frame2), static_cast<QWidget *>(Image1), static_cast<QWidget *>(Label1)})
        w->installEventFilter(m_titleBandFilter);
    installEventFilter(m_titleBandFilter);
}

FTitle *FMain::splash() const
{
    return qobject_cast<FTitle *>(m_splash.data());
}

int FMain::captionButtonPicture(int index) const
{
    return Toolbar3->actions().at(index - 1)->data().toInt();
}

void FMain::Toolbar3_ButtonClick(int index)
{
    switch (index) {
    case 1:
        SetCompactMode(true);
        break;
    case 2: {
        QAction *button = Toolbar3->actions().at(1);
        if (windowState() & Qt::WindowMaximized) {
            setWindowState(windowState() & ~Qt::WindowMaximized);
            setCaptionPicture(Toolbar3, button, PictureMaximize);
        } else {
            setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
            setCaptionPicture(Toolbar3, button, PictureRestore);
        }
        break;
    }
    case 3:
        close();
        break;
    default:
        break;
    }
}

void FMain::SetCompactMode(bool on)
{
    if (on) {
        Timer1->start();
        // A maximized window is restored first; its normal height is the one kept
        // (read from the normal geometry: the window system restores asynchronously).
        const bool maximized = windowState() & Qt::WindowMaximized;
        const QRect normal = maximized ? normalGeometry() : geometry();
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
        if (maximized)
            setCaptionPicture(Toolbar3, Toolbar3->actions().at(1), PictureMaximize);
        m_savedHeight = layoutmath::toTwips(normal.isValid() ? normal.height() : height());
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    Timer1->stop();
    setWindowTitle(QString());
    // Back to the saved height with the bottom edge where it is now.
    const QRect now = geometry();
    const double h = layoutmath::toTwips(now.height());
    const double t = layoutmath::toTwips(now.y());
    const int top = layoutmath::toPixels(t - (m_savedHeight - h));
    const int height = layoutmath::toPixels(m_savedHeight);
    if (top != now.y() || height != now.height())
        setGeometry(now.x(), top, now.width(), height);
}

void FMain::Frame2_DblClick()
{
    Toolbar3_ButtonClick(2);
}

void FMain::Image1_DblClick()
{
    Frame2_DblClick();
}

void FMain::Label1_DblClick()
{
    Frame2_DblClick();
}

void FMain::Frame2_MouseDown(int button)
{
    if (button != 1)
        return;
    // The move goes on after this returns; the window is pulled back inside the
    // desktop once the button is released (TitleBandFilter).
    DragWindow();
}

void FMain::Image1_MouseDown(int button)
{
    Frame2_MouseDown(button);
}

void FMain::Label1_MouseDown(int button)
{
    Frame2_MouseDown(button);
}

void FMain::DragWindow()
{
    QWindow *window = windowHandle();
    if (window && window->startSystemMove())
        m_titleBandFilter->followSystemMove();
    else
        m_titleBandFilter->followManualMove();
}

void FMain::Timer1_Timer()
{
    const clockcaption::Tick tick = clockcaption::tick(m_clock, m_lastSecond, m_frameCounter);
    if (tick.changed)
        setWindowTitle(tick.caption);
}

QString FMain::NextSleepFrame()
{
    return clockcaption::nextSleepFrame(m_frameCounter);
}
