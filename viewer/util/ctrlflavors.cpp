#include "ctrlflavors.h"

#include "platform/services.h"

#include <QThread>
#include <cmath>

CCtrlFlavors::CCtrlFlavors(platform::DesktopMetrics *metrics) : m_metrics(metrics) {}

void CCtrlFlavors::Sleep(qint32 milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void CCtrlFlavors::TextBoxAutoSize() {}

qint32 CCtrlFlavors::DeskTopWidth()
{
    return m_metrics ? m_metrics->desktopWidthTwips() : 0;
}

qint32 CCtrlFlavors::DeskTopHeight()
{
    return m_metrics ? m_metrics->desktopHeightTwips() : 0;
}

void CCtrlFlavors::Form2DPosition(qint32 venm2DPosType)
{
    if (!m_form || venm2DPosType != 3)
        return;
    const QRect frame = m_form->frameGeometry();
    const int top = DeskTopHeight() / TwipsPerPixel - frame.height();
    const int left = DeskTopWidth() / TwipsPerPixel - frame.width();
    m_form->move(left, top);
}

qint32 CCtrlFlavors::Form3DPosition(qint32)
{
    return 0;
}

void CCtrlFlavors::InsideDeskTop() {}

void CCtrlFlavors::MaxCtrlSize(qint32 top, qint32 left, qint32 widthMargin, qint32 heightMargin)
{
    if (!m_form || !m_control)
        return;
    const double sw = m_form->width() * TwipsPerPixel;
    const double sh = m_form->height() * TwipsPerPixel;
    double h = std::nearbyint(sh - top);
    if (h < 0)
        h = 1;
    double w = std::nearbyint(sw - left);
    if (w < 0)
        w = 1;
    w -= widthMargin;
    h -= heightMargin;
    if (h < 0)
        h = 1;
    if (w < 0)
        w = 1;
    m_control->setGeometry(left / TwipsPerPixel, top / TwipsPerPixel, int(w) / TwipsPerPixel, int(h) / TwipsPerPixel);
}

qint32 CCtrlFlavors::SendMsg(qint32, qint32, qint32 &)
{
    return 0;
}

qint32 CCtrlFlavors::Undo()
{
    qint32 zero = 0;
    return SendMsg(199, 0, zero);
}

bool CCtrlFlavors::setFormName(QWidget *form)
{
    if (form && !form->isWindow())
        return false;
    m_form = form;
    return true;
}
