#include "catalogueview.h"

#include <QMouseEvent>

// Commands act on the current row, so the user must always see it selected: a click
// beside the rows changes nothing, and no click or key takes the highlight off a row.
QItemSelectionModel::SelectionFlags CatalogueView::selectionCommand(const QModelIndex &index,
                                                                    const QEvent *event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return command;
}

void CatalogueView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The press before it usually made the row under the mouse current; a first press
    // that pairs with a click on another row comes as the double-click itself.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.row() != currentIndex().row())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit listDoubleClicked();
}
