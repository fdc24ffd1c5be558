#include "toolbaricons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap canvas()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An open list: a page with lines and a circular arrow (rebuild the catalogue).
QPixmap dataOpen()
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setPen(QColor(40, 40, 40));
    g.setBrush(Qt::white);
    g.drawRect(1, 1, 10, 13);
    g.setPen(QColor(0, 90, 180));
    for (int y = 4; y <= 11; y += 3)
        g.drawLine(3, y, 9, y);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0, 140, 60), 1.6));
    g.setBrush(Qt::NoBrush);
    g.drawArc(QRectF(8.5, 8.5, 6, 6), 90 * 16, 270 * 16);
    g.setBrush(QColor(0, 140, 60));
    g.setPen(Qt::NoPen);
    g.drawPolygon(QPolygonF({QPointF(11.5, 6.5), QPointF(14.5, 8.5), QPointF(11.5, 10.5)}));
    return p;
}

// Two pages, one over the other (copy).
QPixmap clipCopy()
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setPen(QColor(40, 40, 40));
    g.setBrush(QColor(230, 230, 230));
    g.drawRect(1, 1, 8, 10);
    g.setBrush(Qt::white);
    g.drawRect(6, 5, 8, 10);
    g.setPen(QColor(0, 90, 180));
    for (int y = 8; y <= 12; y += 2)
        g.drawLine(8, y, 12, y);
    return p;
}

// A key cap with an arrow into it (type the key).
QPixmap sendKey()
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QColor(40, 40, 40));
    g.setBrush(QColor(250, 250, 250));
    g.drawRoundedRect(QRectF(5.5, 5.5, 9, 9), 2, 2);
    g.setPen(QColor(40, 40, 40));
    g.drawText(QRectF(5.5, 5.5, 9, 9), Qt::AlignCenter, QStringLiteral("A"));
    g.setPen(QPen(QColor(200, 60, 0), 1.6));
    g.drawLine(QPointF(1, 1), QPointF(5, 5));
    g.setBrush(QColor(200, 60, 0));
    g.setPen(Qt::NoPen);
    g.drawPolygon(QPolygonF({QPointF(6, 6), QPointF(2.5, 5), QPointF(5, 2.5)}));
    return p;
}

// A globe with a downward arrow (update from the web).
QPixmap upData()
{
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QColor(0, 80, 160));
    g.setBrush(QColor(170, 210, 255));
    g.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    g.drawLine(QPointF(0.5, 6), QPointF(11.5, 6));
    g.drawEllipse(QRectF(3.5, 0.5, 5, 11));
    g.setBrush(QColor(0, 150, 60));
    g.setPen(Qt::NoPen);
    g.drawRect(QRectF(11, 7, 2.5, 5));
    g.drawPolygon(QPolygonF({QPointF(9, 11.5), QPointF(15.5, 11.5), QPointF(12.25, 15.5)}));
    return p;
}

} // namespace

QIcon toolbarIcon(ToolbarIcon which)
{
    switch (which) {
    case ToolbarIcon::DataOpen: return QIcon(dataOpen());
    case ToolbarIcon::ClipCopy: return QIcon(clipCopy());
    case ToolbarIcon::SendKey: return QIcon(sendKey());
    case ToolbarIcon::UpData: return QIcon(upData());
    }
    return {};
}
