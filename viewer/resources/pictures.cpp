#include "pictures.h"

#include "main/viewerfont.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace pictures {

QPixmap appIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // A dark card with list lines and a key cap in front.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x3a, 0x68));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    p.setBrush(QColor(0xd8, 0xe6, 0xf5));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(6, 6 + i * 5, i % 2 ? 14 : 20, 2.5));
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    p.drawRoundedRect(QRectF(15, 17, 13, 11), 2.5, 2.5);
    p.setPen(QPen(QColor(0x1f, 0x3a, 0x68), 2));
    p.drawLine(QPointF(19, 22.5), QPointF(24, 22.5));
    return pixmap;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

QPixmap captionPicture(CaptionPicture picture)
{
    QPixmap pixmap(12, 10);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor ink(Qt::black);
    switch (picture) {
    case CaptionPicture::Minimize:  // a bar along the bottom
        p.fillRect(2, 7, 7, 2, ink);
        break;
    case CaptionPicture::Maximize:  // a window outline with a thick top
        p.setPen(ink);
        p.drawRect(1, 0, 9, 8);
        p.fillRect(1, 1, 10, 1, ink);
        break;
    case CaptionPicture::Restore:  // two windows, one behind the other
        p.setPen(ink);
        p.drawRect(3, 0, 7, 5);
        p.fillRect(3, 1, 8, 1, ink);
        p.fillRect(1, 3, 7, 6, Qt::white);
        p.drawRect(1, 3, 6, 5);
        p.fillRect(1, 4, 7, 1, ink);
        break;
    case CaptionPicture::Close:  // a cross
        p.setPen(QPen(ink, 1.6));
        p.setRenderHint(QPainter::Antialiasing);
        p.drawLine(QPointF(2, 1), QPointF(9.5, 8.5));
        p.drawLine(QPointF(9.5, 1), QPointF(2, 8.5));
        break;
    }
    return pixmap;
}

QPixmap toolbarChevron(int size, bool down, const QColor &colour)
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

void paintTitlePicture(QPainter &p)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(0x12, 0x2a, 0x52));
    sky.setColorAt(1, QColor(0x2f, 0x7d, 0x8c));
    p.fillRect(QRect(0, 0, 320, 240), sky);

    // A stack of list cards behind the name.
    for (int i = 0; i < 3; ++i) {
        const QRectF card(226 + i * 10, 150 - i * 10, 62, 74);
        p.setPen(QPen(QColor(255, 255, 255, 120), 1));
        p.setBrush(i == 2 ? QColor(0xf4, 0xf8, 0xfc) : QColor(255, 255, 255, 50 + i * 40));
        p.drawRoundedRect(card, 6, 6);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x5d, 0x8c));
    for (int k = 0; k < 5; ++k)
        p.drawRect(QRectF(256, 142 + k * 11, k % 2 ? 30 : 42, 4));

    // The key cap from the icon, large.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    p.drawRoundedRect(QRectF(34, 142, 54, 44), 8, 8);
    p.setBrush(QColor(0xf7, 0xcb, 0x6a));
    p.drawRoundedRect(QRectF(40, 146, 42, 32), 6, 6);
    p.setPen(QPen(QColor(0x12, 0x2a, 0x52), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 162), QPointF(72, 162));

    QFont name;
    setPreferredFamilies(name, {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")});
    name.setPixelSize(52);
    name.setBold(true);
    p.setFont(name);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 58, 320, 64), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("tuvelv"));

    QFont sub;
    setPreferredFamilies(sub, {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS PGothic")});
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(0xd8, 0xe6, 0xf5));
    p.drawText(QRect(0, 118, 320, 20), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("キーリスト ビューア"));
    p.restore();
}

}  // namespace pictures
