#include "catalogueview.h"

#include "plainheaderview.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int FocusFrameWidth = 2;

class FocusFrame : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *view = static_cast<QAbstractScrollArea *>(watched);
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            view->update();
        } else if (event->type() == QEvent::Paint) {
            // The view's own painting first (its frame), then the frame over it in the
            // colour of the moment, and the corner between the scroll bars dark too.
            static_cast<QObject *>(view)->event(event);
            QPainter painter(view);
            const QRect viewport = view->viewport()->geometry();
            painter.fillRect(QRect(viewport.bottomRight() + QPoint(1, 1), view->contentsRect().bottomRight()),
                             view->palette().color(QPalette::Base));
            const QColor colour =
                view->hasFocus() ? view->palette().color(QPalette::Active, QPalette::Highlight) : QColor(Qt::black);
            painter.setPen(
                QPen(colour, FocusFrameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));  // square corners
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(view->rect()).adjusted(1, 1, -1, -1));
            return true;
        }
        return false;
    }
};

}  // namespace

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

void setUpDarkList(QAbstractItemView *view)
{
    QPalette dark = view->palette();
    dark.setColor(QPalette::Base, Qt::black);
    dark.setColor(QPalette::Text, Qt::white);
    view->setPalette(dark);
    view->setFrameStyle(QFrame::Box | QFrame::Plain);
    view->setLineWidth(FocusFrameWidth);
    view->installEventFilter(new FocusFrame(view));
}
