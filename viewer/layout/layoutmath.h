#pragma once
// Window geometry in twips (1/1440 inch): placing a form on the desktop, fitting a
// control over a client area, moving the splitter bar. QtCore only.
#include "twips.h"

#include <QRect>
#include <QtGlobal>

namespace layoutmath {

using common::toPixels;
using common::toTwips;
using common::TwipsPerPixel;
constexpr double BarWidth = 50;          // splitter bar, twips
constexpr double ColumnAllowance = 300;  // key list column: list width less this

// Whole twips, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
qint32 roundHalfEven(double value);

// A twip rectangle on the pixel grid: both edges rounded, so rectangles that meet
// in twips also meet in pixels.
QRect toPixelRect(double left, double top, double width, double height);

struct TwipRect {
    qint32 top = 0;
    qint32 left = 0;
    qint32 width = 0;
    qint32 height = 0;
    bool operator==(const TwipRect &) const = default;
};

// The control stretched over a client area of scaleWidth x scaleHeight less the
// margins; negative sizes become 1, zero stays zero.
TwipRect maxCtrlSize(double scaleWidth, double scaleHeight, qint32 topMargin, qint32 leftMargin, qint32 widthMargin,
                     qint32 heightMargin);

// Where a form of width x height goes on a desktop of desktopWidth x desktopHeight.
// Types: -1 centre, 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
struct Placement {
    bool moves = false;
    double top = 0;
    double left = 0;
};
Placement form2DPosition(int type, double width, double height, double desktopWidth, double desktopHeight);

// The form pulled back inside the desktop; bottom and right edges take precedence.
struct Position {
    double top = 0;
    double left = 0;
};
Position insideDeskTop(double top, double left, double width, double height, double desktopWidth, double desktopHeight);

// The bar's left edge after a drag step of x twips, kept within 0 .. clientWidth - barWidth.
double dragBarLeft(double barLeft, double x, double clientWidth, double barWidth = BarWidth);

// Platform mouse buttons and modifiers as button and shift masks.
enum ButtonMask { LeftButton = 1, RightButton = 2, MiddleButton = 4 };
// The mask of the left, right and middle buttons among buttons (one button gives its code).
int buttonMask(Qt::MouseButtons buttons);

}  // namespace layoutmath
