#include "ctrlflavors.h"

#include "layout/layoutmath.h"
#include "services.h"

#include <QFontMetrics>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QThread>

using namespace layoutmath;

namespace {

QHash<qint32, QPointer<QWidget>> &sendTargets()
{
    static QHash<qint32, QPointer<QWidget>> targets;
    return targets;
}

// The window with its frame. While a window manager is still framing a window the
// frame can be reported smaller than the window; the window itself counts then.
QRect outerRect(const QWidget *form)
{
    const QRect frame = form->frameGeometry();
    const QRect client = form->geometry();
    if (frame.width() < client.width() || frame.height() < client.height())
        return client;
    return frame;
}

double outerWidth(const QWidget *form) { return toTwips(outerRect(form).width()); }
double outerHeight(const QWidget *form) { return toTwips(outerRect(form).height()); }

void moveForm(QWidget *form, double top, double left) { form->move(toPixels(left), toPixels(top)); }

QString textOf(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return line->text();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<QTextEdit *>(box))
        return rich->toPlainText();
    return {};
}

}  // namespace

CCtrlFlavors::CCtrlFlavors(platform::DesktopMetrics *metrics) : m_metrics(metrics) {}

void CCtrlFlavors::Sleep(qint32 milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

bool CCtrlFlavors::TextBoxAutoSize()
{
    QWidget *box = m_control;
    if (!qobject_cast<QLineEdit *>(box) && !qobject_cast<QPlainTextEdit *>(box) && !qobject_cast<QTextEdit *>(box))
        return false;
    // Measured in the box's own font; no margin is added.
    const QFontMetrics metrics(box->font());
    const QStringList lines = textOf(box).split(QLatin1Char('\n'));
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    box->resize(width, box->height());
    box->resize(box->width(), metrics.height() * int(textOf(box).split(QLatin1Char('\n')).size()));
    return true;
}

qint32 CCtrlFlavors::DeskTopWidth() { return m_metrics ? m_metrics->desktopWidthTwips() : 0; }

qint32 CCtrlFlavors::DeskTopHeight() { return m_metrics ? m_metrics->desktopHeightTwips() : 0; }

void CCtrlFlavors::Form2DPosition(qint32 venm2DPosType)
{
    if (!m_form)
        return;
    const Placement p =
        form2DPosition(venm2DPosType, outerWidth(m_form), outerHeight(m_form), DeskTopWidth(), DeskTopHeight());
    if (p.moves)
        moveForm(m_form, p.top, p.left);
}

qint32 CCtrlFlavors::Form3DPosition(qint32 venm3DPosType)
{
    if (!m_form)
        return 0;
    QWidget *form = m_form;
    const bool onTop = form->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    bool wantOnTop = onTop;
    if (venm3DPosType == HWND_TOPMOST)
        wantOnTop = true;
    else if (venm3DPosType == HWND_NOTOPMOST)
        wantOnTop = false;
    const bool wasVisible = form->isVisible();
    // Changing the flags re-creates the native window hidden; show it again.
    if (wantOnTop != onTop)
        form->setWindowFlag(Qt::WindowStaysOnTopHint, wantOnTop);
    if (venm3DPosType == HWND_BOTTOM)
        form->lower();
    else if (venm3DPosType == HWND_TOP)
        form->raise();
    // A window still loading is shown by its owner once loading ends.
    if (wasVisible || form->testAttribute(Qt::WA_WState_ExplicitShowHide))
        if (!form->isVisible())
            form->show();
    return 1;
}

void CCtrlFlavors::InsideDeskTop()
{
    if (!m_form)
        return;
    if (m_form->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect frame = outerRect(m_form);
    const Position p = insideDeskTop(toTwips(frame.y()), toTwips(frame.x()), outerWidth(m_form), outerHeight(m_form),
                                     DeskTopWidth(), DeskTopHeight());
    if (toPixels(p.top) != frame.y() || toPixels(p.left) != frame.x())
        moveForm(m_form, p.top, p.left);
}

void CCtrlFlavors::MaxCtrlSize(qint32 vlngTopMargin, qint32 vlngLeftMargin, qint32 vlngWidthMargin,
                               qint32 vlngHeightMargin)
{
    if (!m_form || !m_control)
        return;
    const TwipRect r = maxCtrlSize(toTwips(m_form->width()), toTwips(m_form->height()), vlngTopMargin, vlngLeftMargin,
                                   vlngWidthMargin, vlngHeightMargin);
    QWidget *control = m_control;
    // The form's client area is in the control's parent coordinates.
    QPoint origin;
    if (control->parentWidget() && control->parentWidget() != m_form)
        origin = control->parentWidget()->mapFrom(m_form, QPoint(0, 0));
    control->setGeometry(toPixelRect(r.left, r.top, r.width, r.height).translated(origin));
}

qint32 CCtrlFlavors::SendMsg(qint32 wMsg, qint32 wParam, qint32 &lParam)
{
    Q_UNUSED(wParam);
    Q_UNUSED(lParam);
    QWidget *target = sendTargets().value(m_sendHandle);
    if (!target || wMsg != EM_UNDO)
        return 0;  // only the undo message has a receiver here
    if (auto *line = qobject_cast<QLineEdit *>(target)) {
        if (!line->isUndoAvailable())
            return 0;
        line->undo();
        return 1;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(target)) {
        if (!plain->document()->isUndoAvailable())
            return 0;
        plain->undo();
        return 1;
    }
    if (auto *rich = qobject_cast<QTextEdit *>(target)) {
        if (!rich->document()->isUndoAvailable())
            return 0;
        rich->undo();
        return 1;
    }
    return 0;
}

qint32 CCtrlFlavors::Undo()
{
    qint32 zero = 0;
    return SendMsg(EM_UNDO, 0, zero);
}

qint32 CCtrlFlavors::sendHandleOf(QWidget *textBox)
{
    if (!textBox)
        return 0;
    auto &targets = sendTargets();
    for (auto it = targets.cbegin(); it != targets.cend(); ++it)
        if (it.value() == textBox)
            return it.key();
    static qint32 next = 0;
    const qint32 handle = ++next;
    targets.insert(handle, textBox);
    return handle;
}

bool CCtrlFlavors::setFormName(QWidget *form)
{
    if (form && !form->isWindow())
        return false;
    m_form = form;
    return true;
}
