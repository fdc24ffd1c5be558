#pragma once
// ListView1's view: a table whose current row is always the highlighted one, and
// which takes a double-click anywhere in its rows area as the list's double-click.
#include <QTableView>

class CatalogueView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

signals:
    // A left double-click on a row or on the empty area below the rows.
    void listDoubleClicked();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
