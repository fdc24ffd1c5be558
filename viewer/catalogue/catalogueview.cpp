#include "catalogueview.h"

#include "plainheaderview.h"

#include <QHeaderView>
#include <QKeyEvent>
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

void CatalogueView::keyPressEvent(QKeyEvent *event)
{
    if (!isDefaultActionKey(event)) {
        KeepsHighlight<QTableView>::keyPressEvent(event);
        return;
    }
    event->accept();  // the view would pass it on to the window
    emit listDoubleClicked();
}

bool isDefaultActionKey(const QKeyEvent *event)
{
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat();
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
    // Tab leaves the list for the next control; Left and Right still move along a row.
    table->setTabKeyNavigation(false);
}
