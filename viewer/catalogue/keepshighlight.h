#pragma once
// An item view whose current row is always the highlighted one. Commands act on the
// current row, so the user must always see it selected: a click beside the rows
// changes nothing, and no click or key takes the highlight off a row.
#include <QAbstractItemView>
#include <QItemSelectionModel>

template <class View>
class KeepsHighlight : public View {
public:
    using View::View;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override
    {
        if (!index.isValid())
            return QItemSelectionModel::NoUpdate;
        const QItemSelectionModel::SelectionFlags command = View::selectionCommand(index, event);
        if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
            return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        return command;
    }
};
