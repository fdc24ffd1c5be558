#include "splitterbar.h"

#include "layoutmath.h"

#include <QMouseEvent>

SplitterBar::SplitterBar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("FrameCenterBar"));
    setAccessibleName(QStringLiteral("分割バー"));
    setToolTip(QStringLiteral("分割バー"));
    setCursor(Qt::SizeHorCursor);
    setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);
}

int SplitterBar::shiftMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1;
    if (modifiers & Qt::ControlModifier)
        mask |= 2;
    if (modifiers & Qt::AltModifier)
        mask |= 4;
    return mask;
}

// The bar holds the mouse from the press on (the press grabs it), so steps keep
// arriving while the pointer is outside the bar.
void SplitterBar::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseMoved(layoutmath::buttonMask(event->buttons()), shiftMask(event->modifiers()),
                    layoutmath::toTwips(1) * p.x(), layoutmath::toTwips(1) * p.y());
}

// The button reported on release is the one released, not the ones still held.
void SplitterBar::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF p = event->position();
    emit mouseReleased(layoutmath::buttonMask(event->button()), shiftMask(event->modifiers()),
                       layoutmath::toTwips(1) * p.x(), layoutmath::toTwips(1) * p.y());
}
