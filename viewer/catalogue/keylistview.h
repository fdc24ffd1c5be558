#pragma once
// ListView2: the key list in its two views, details (a table with the one column
// and its heading) and list (keys flowing in columns). Both views share one model
// and one selection, so switching keeps the current key.
#include <QStackedWidget>

class QTableView;
class QListView;
class QItemSelectionModel;
class QAbstractItemView;
class KeyListModel;

class KeyListView : public QStackedWidget {
    Q_OBJECT
public:
    enum View { ListView = 2, DetailsView = 3 };  // list-view control view codes

    explicit KeyListView(KeyListModel *model, QWidget *parent = nullptr);

    void setView(int viewCode);
    int view() const { return m_view; }
    void setGridLines(bool on);
    bool gridLines() const { return m_grid; }

    int currentRow() const;  // -1 when no row is current
    void setCurrentRow(int row);
    void scrollToRow(int row);
    // The column width of the details view (FitLastColumn).
    void setColumnWidth(int pixels);
    int columnWidth() const;

    QTableView *detailsView() const { return m_details; }
    QListView *listView() const { return m_list; }
    QAbstractItemView *activeView() const;

signals:
    void doubleClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyListModel *m_model;
    QTableView *m_details;
    QListView *m_list;
    int m_view = DetailsView;
    bool m_grid = false;
};
