#include "catalogueview.h"

#include "plainheaderview.h"

#include <QHeaderView>
#include <QMouseEvent>

void CatalogueView::mouseDoubleClickEvent(QMouseEvent *event)
{
    KeepsHighlight<QTableView>::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The press before it usually made the row under the mouse current; a first press
    // that pairs with a click on another row comes as the double-click itself.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.row() != currentIndex().row())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    emit listDoubleClicked();
}

void setUpDetailsTable(QTableView *table)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->setHorizontalHeader(new PlainHeaderView(table));
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->setShowGrid(false);
    table->setWordWrap(false);
}
