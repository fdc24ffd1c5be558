#include "bandlayout.h"

#include <QtGlobal>

namespace bandlayout {

namespace {

QList<QList<int>> rowsOf(const QList<Band> &bands)
{
    QList<QList<int>> rows;
    for (int i = 0; i < bands.size(); ++i) {
        if (rows.isEmpty() || bands.at(i).newRow)
            rows.append(QList<int>());
        rows.last().append(i);
    }
    return rows;
}

double rowHeight(const QList<Band> &bands, const QList<int> &row)
{
    double height = 0;
    for (int i : row)
        height = qMax(height, qMax(bands.at(i).minHeight, bands.at(i).childHeight));
    return height + 2 * RowPadding;
}

}  // namespace

QList<QRectF> arrange(const QList<Band> &bands, double stripWidth)
{
    QList<QRectF> rects(bands.size());
    double top = 0;
    for (const QList<int> &row : rowsOf(bands)) {
        QList<double> widths;
        double total = 0;
        for (int i : row) {
            widths.append(qMax(bands.at(i).width, bands.at(i).minWidth));
            total += widths.last();
        }
        if (total < stripWidth) {
            widths.last() += stripWidth - total;
        } else {
            double excess = total - stripWidth;
            for (int k = int(row.size()) - 1; k >= 0 && excess > 0; --k) {
                const double give = qMin(excess, widths.at(k) - bands.at(row.at(k)).minWidth);
                if (give > 0) {
                    widths[k] -= give;
                    excess -= give;
                }
            }
        }
        const double height = rowHeight(bands, row);
        double left = 0;
        for (int k = 0; k < row.size(); ++k) {
            rects[row.at(k)] = QRectF(left, top, widths.at(k), height);
            left += widths.at(k);
        }
        top += height;
    }
    return rects;
}

double stripHeight(const QList<Band> &bands)
{
    double height = 0;
    for (const QList<int> &row : rowsOf(bands))
        height += rowHeight(bands, row);
    return height;
}

}  // namespace bandlayout
