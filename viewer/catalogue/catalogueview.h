#pragma once
// ListView1's view: a table whose current row is always the highlighted one, and
// which takes a double-click anywhere in its rows area, or Enter on its current row,
// as the list's double-click.
#include "keepshighlight.h"

#include <QTableView>

class CatalogueView : public KeepsHighlight<QTableView> {
    Q_OBJECT
public:
    using KeepsHighlight<QTableView>::KeepsHighlight;

signals:
    // A left double-click on a row or on the empty area below the rows, or Enter.
    void listDoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// Enter or the keypad's Enter, alone: a list's default action, as a double-click.
bool isDefaultActionKey(const QKeyEvent *event);

// Makes a table look and act as a list control's details view does: whole rows,
// one picked at a time, no editing, no row headers or grid, one text line per row,
// plain column headings. Call it before the table gets its model, so that no bold
// heading is ever measured.
void setUpDetailsTable(QTableView *table);

// White text on black, in a 2-pixel black frame that takes the highlight colour while
// the list has the keyboard focus. Drawn by hand: a style sheet would bring Qt's
// style-sheet engine (its parser and a style over every child) into the start-up, about
// 0.7 MiB, for two colours and a frame.
void setUpDarkList(QAbstractItemView *view);
