#include "keylistview.h"
#include "catalogueview.h"
#include "keepshighlight.h"
#include "keylistmodel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QTableView>

KeyListView::KeyListView(KeyListModel *model, QWidget *parent)
    : QStackedWidget(parent),
      m_model(model),
      m_details(new KeepsHighlight<QTableView>(this)),
      m_list(new KeepsHighlight<QListView>(this))
{
    setUpDetailsTable(m_details);
    m_details->setModel(model);
    m_details->setAccessibleName(QStringLiteral("キー"));

    m_list->setModel(model);
    m_list->setSelectionModel(m_details->selectionModel());
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setViewMode(QListView::ListMode);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(true);
    m_list->setAccessibleName(QStringLiteral("キー"));

    addWidget(m_details);
    addWidget(m_list);
    setCurrentWidget(m_details);

    // A double-click anywhere in the list, rows or empty area, is the list's double-click;
    // so is Enter on its current row.
    m_details->viewport()->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_details->installEventFilter(this);
    m_list->installEventFilter(this);
}

bool KeyListView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_details || watched == m_list) &&
        isDefaultActionKey(static_cast<QKeyEvent *>(event))) {
        emit doubleClicked();
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        (watched == m_details->viewport() || watched == m_list->viewport())) {
        // Usually the press before it has made the row under the mouse current, but a
        // first press that pairs with a click on another row (the list scrolled in
        // between) comes as the double-click itself: the row under it is the key.
        QAbstractItemView *view =
            watched == m_details->viewport() ? static_cast<QAbstractItemView *>(m_details) : m_list;
        const QModelIndex index = view->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (index.isValid() && index.row() != currentRow())
            setCurrentRow(index.row());
        emit doubleClicked();
    }
    return QStackedWidget::eventFilter(watched, event);
}

void KeyListView::setView(int viewCode)
{
    if (viewCode == DetailsView)
        setCurrentWidget(m_details);
    else if (viewCode == ListView)
        setCurrentWidget(m_list);
    else
        return;
    m_view = viewCode;
}

void KeyListView::setGridLines(bool on)
{
    m_grid = on;
    m_details->setShowGrid(on);
    m_list->setGridSize(QSize());
    m_list->setStyleSheet(on ? QStringLiteral("QListView::item { border: 1px solid gray; }") : QString());
}

int KeyListView::currentRow() const
{
    const QModelIndex index = m_details->selectionModel()->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void KeyListView::setCurrentRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_details->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void KeyListView::scrollToRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        return;
    activeView()->scrollTo(index, QAbstractItemView::EnsureVisible);
}

void KeyListView::setColumnWidth(int pixels) { m_details->setColumnWidth(0, pixels); }

int KeyListView::columnWidth() const { return m_details->columnWidth(0); }

QAbstractItemView *KeyListView::activeView() const
{
    return m_view == ListView ? static_cast<QAbstractItemView *>(m_list) : m_details;
}
