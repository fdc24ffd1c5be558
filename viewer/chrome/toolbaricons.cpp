#include "toolbaricons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

enum class Edges { Sharp, Smooth };

// A clear 16 × 16 picture with what draw paints on it.
template <typename Draw>
QPixmap picture(Edges edges, Draw draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter g(&pixmap);
    g.setRenderHint(QPainter::Antialiasing, edges == Edges::Smooth);
    draw(g);
    g.end();
    return pixmap;
}

// Outline and fill of what is drawn next.
void setOutlineAndFill(QPainter &g, const QPen &outline, const QBrush &fill)
{
    g.setPen(outline);
    g.setBrush(fill);
}

// An open list: a page with lines and a circular arrow (rebuild the catalogue).
QPixmap dataOpen()
{
    return picture(Edges::Sharp, [](QPainter &g) {
        setOutlineAndFill(g, QColor(40, 40, 40), Qt::white);
        g.drawRect(1, 1, 10, 13);
        g.setPen(QColor(0, 90, 180));
        for (int y = 4; y <= 11; y += 3)
            g.drawLine(3, y, 9, y);
        g.setRenderHint(QPainter::Antialiasing);
        setOutlineAndFill(g, QPen(QColor(0, 140, 60), 1.6), Qt::NoBrush);
        g.drawArc(QRectF(8.5, 8.5, 6, 6), 90 * 16, 270 * 16);
        setOutlineAndFill(g, Qt::NoPen, QColor(0, 140, 60));
        g.drawPolygon(QPolygonF({QPointF(11.5, 6.5), QPointF(14.5, 8.5), QPointF(11.5, 10.5)}));
    });
}

// Two pages, one over the other (copy).
QPixmap clipCopy()
{
    return picture(Edges::Sharp, [](QPainter &g) {
        setOutlineAndFill(g, QColor(40, 40, 40), QColor(230, 230, 230));
        g.drawRect(1, 1, 8, 10);
        g.setBrush(Qt::white);
        g.drawRect(6, 5, 8, 10);
        g.setPen(QColor(0, 90, 180));
        for (int y = 8; y <= 12; y += 2)
            g.drawLine(8, y, 12, y);
    });
}

// A key cap with an arrow into it (type the key).
QPixmap sendKey()
{
    return picture(Edges::Smooth, [](QPainter &g) {
        setOutlineAndFill(g, QColor(40, 40, 40), QColor(250, 250, 250));
        g.drawRoundedRect(QRectF(5.5, 5.5, 9, 9), 2, 2);
        g.drawText(QRectF(5.5, 5.5, 9, 9), Qt::AlignCenter, QStringLiteral("A"));
        g.setPen(QPen(QColor(200, 60, 0), 1.6));
        g.drawLine(QPointF(1, 1), QPointF(5, 5));
        setOutlineAndFill(g, Qt::NoPen, QColor(200, 60, 0));
        g.drawPolygon(QPolygonF({QPointF(6, 6), QPointF(2.5, 5), QPointF(5, 2.5)}));
    });
}

// A globe with a downward arrow (update from the web).
QPixmap upData()
{
    return picture(Edges::Smooth, [](QPainter &g) {
        setOutlineAndFill(g, QColor(0, 80, 160), QColor(170, 210, 255));
        g.drawEllipse(QRectF(0.5, 0.5, 11, 11));
        g.drawLine(QPointF(0.5, 6), QPointF(11.5, 6));
        g.drawEllipse(QRectF(3.5, 0.5, 5, 11));
        setOutlineAndFill(g, Qt::NoPen, QColor(0, 150, 60));
        g.drawRect(QRectF(11, 7, 2.5, 5));
        g.drawPolygon(QPolygonF({QPointF(9, 11.5), QPointF(15.5, 11.5), QPointF(12.25, 15.5)}));
    });
}

}  // namespace

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
