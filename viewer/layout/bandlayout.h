#pragma once
// The rows of the band strip: which band goes where, in twips. QtCore only.
#include <QList>
#include <QRectF>

namespace bandlayout {

constexpr double RowPadding = 30;  // twips above and below a band's child

struct Band {
    double minWidth = 0;
    double minHeight = 0;
    double width = 0;        // the width asked for; the row may give more or less
    bool newRow = false;     // starts a row (the first band always does)
    double childHeight = 0;  // the height the child wants
};

// The strip lays its bands out in rows. In each row a band gets at least its
// minimum width; room left over goes to the row's last band, and a row that is
// too wide takes the excess from its bands right to left, down to their minimums.
QList<QRectF> arrange(const QList<Band> &bands, double stripWidth);

// Height of the whole strip: each row as tall as its tallest band plus padding.
double stripHeight(const QList<Band> &bands);

}  // namespace bandlayout
