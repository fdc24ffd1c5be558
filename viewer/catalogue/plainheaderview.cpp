#include "plainheaderview.h"

#include <QStyleOptionHeader>

PlainHeaderView::PlainHeaderView(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) { setHighlightSections(false); }

QSize PlainHeaderView::sizeHint() const
{
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (!isSectionHidden(logical))
            return sectionSizeFromContents(logical);
    }
    return QHeaderView::sizeHint();
}

QSize PlainHeaderView::sectionSizeFromContents(int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.fontMetrics = fontMetrics();
    if (model())
        option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}
