#include "layoutmath.h"

#include <cmath>

namespace layoutmath {

qint32 roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double result = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0))
        result = floor + 1;
    return qint32(result);
}

QRect toPixelRect(double left, double top, double width, double height)
{
    const int x1 = toPixels(left);
    const int y1 = toPixels(top);
    const int x2 = toPixels(left + width);
    const int y2 = toPixels(top + height);
    return QRect(x1, y1, qMax(0, x2 - x1), qMax(0, y2 - y1));
}

TwipRect maxCtrlSize(double scaleWidth, double scaleHeight, qint32 topMargin, qint32 leftMargin, qint32 widthMargin,
                     qint32 heightMargin)
{
    qint64 h = roundHalfEven(scaleHeight - topMargin);
    if (h < 0)
        h = 1;
    qint64 w = roundHalfEven(scaleWidth - leftMargin);
    if (w < 0)
        w = 1;
    w -= widthMargin;
    h -= heightMargin;
    if (h < 0)
        h = 1;
    if (w < 0)
        w = 1;
    return {topMargin, leftMargin, qint32(w), qint32(h)};
}

Placement form2DPosition(int type, double width, double height, double desktopWidth, double desktopHeight)
{
    switch (type) {
    case -1: return {true, (desktopHeight - height) / 2, (desktopWidth - width) / 2};
    case 0: return {true, 0, 0};
    case 1: return {true, 0, desktopWidth - width};
    case 2: return {true, desktopHeight - height, 0};
    case 3: return {true, desktopHeight - height, desktopWidth - width};
    default: return {};
    }
}

Position insideDeskTop(double top, double left, double width, double height, double desktopWidth, double desktopHeight)
{
    Position p{top, left};
    if (desktopHeight - height < top)
        p.top = desktopHeight - height;
    else if (top < 0)
        p.top = 0;
    if (desktopWidth - width < left)
        p.left = desktopWidth - width;
    else if (left < 0)
        p.left = 0;
    return p;
}

double dragBarLeft(double barLeft, double x, double clientWidth, double barWidth)
{
    double left = barLeft + x;
    if (left < 0)
        left = 0;
    if (left > clientWidth - barWidth)
        left = clientWidth - barWidth;
    return left;
}

int buttonMask(Qt::MouseButtons buttons)
{
    int mask = 0;
    if (buttons & Qt::LeftButton)
        mask |= LeftButton;
    if (buttons & Qt::RightButton)
        mask |= RightButton;
    if (buttons & Qt::MiddleButton)
        mask |= MiddleButton;
    return mask;
}

}  // namespace layoutmath
