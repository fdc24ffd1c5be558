#include "keylistmodel.h"

#include "celltext.h"

#include <QFont>

int KeyListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.count()); }

QVariant KeyListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.count() || index.column() != 0)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        // A key line can be as long as its file; typing and copying take text(), whole.
        return cellText(m_rows.text(index.row()));
    case Qt::FontRole:
        if (m_rows.isBold(index.row())) {
            // Only the weight is set, so the view's own font supplies the rest.
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    return {};
}

QVariant KeyListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_heading;
    return {};
}

void KeyListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int KeyListModel::addRow(const QString &text, bool bold)
{
    const int index = int(m_rows.count());
    beginInsertRows({}, index, index);
    m_rows.append(text, bold);
    endInsertRows();
    return index;
}

void KeyListModel::setRows(KeyRows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void KeyListModel::setHeading(const QString &heading)
{
    m_heading = heading;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}
