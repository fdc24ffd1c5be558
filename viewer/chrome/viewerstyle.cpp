#include "viewerstyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>
#include <QWidget>

namespace {

// A double chevron pointing right (down for a vertical toolbar), in the button text's colour.
QPixmap chevron(int size, bool down, const QColor &colour)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    if (down) {
        p.translate(16, 0);
        p.rotate(90);
    }
    p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const qreal x : {4.0, 9.0}) {
        QPainterPath arrow(QPointF(x, 4));
        arrow.lineTo(x + 3.5, 8);
        arrow.lineTo(x, 12);
        p.drawPath(arrow);
    }
    return pixmap;
}

}  // namespace

QIcon ViewerStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option, const QWidget *widget) const
{
    if (standardIcon != SP_ToolBarHorizontalExtensionButton && standardIcon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    const QPalette palette = option ? option->palette : widget ? widget->palette() : standardPalette();
    const QColor colour = palette.color(QPalette::Active, QPalette::ButtonText);
    QIcon icon;
    for (const int size : {16, 32})
        icon.addPixmap(chevron(size, standardIcon == SP_ToolBarVerticalExtensionButton, colour));
    return icon;
}
