#include "cataloguemodel.h"

#include "celltext.h"

#include <QColor>

int CatalogueModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int CatalogueModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CatalogueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const ListRow &r = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        // Header lines may be a megabyte long and are shown cut. The storage location
        // is shown whole: it is the path the row stands for, and a path is short.
        switch (index.column()) {
        case NameColumn: return cellText(r.name);
        case DescriptionColumn: return cellText(r.description);
        case LastUpdateColumn: return r.lastUpdate;
        case LocationColumn: return r.location;
        case AddressColumn: return cellText(r.address);
        }
        return {};
    case Qt::ForegroundRole: return colourFromBgr(r.colour);
    case Qt::ToolTipRole: return cellText(r.name);  // a row's tool tip is its list name
    }
    return {};
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const headings[] = {"リスト名", "説明", "最終更新日", "保管場所", "サポートページ"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(headings[section]);
}

void CatalogueModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void CatalogueModel::beginRefill()
{
    if (m_refilling)
        return;
    beginResetModel();
    m_rows.clear();
    m_refilling = true;
}

void CatalogueModel::endRefill()
{
    if (!m_refilling)
        return;
    m_refilling = false;
    endResetModel();
}

int CatalogueModel::addRow(const ListRow &row)
{
    const int index = int(m_rows.size());
    if (m_refilling) {
        m_rows.append(row);
        return index;
    }
    beginInsertRows({}, index, index);
    m_rows.append(row);
    endInsertRows();
    return index;
}

QColor CatalogueModel::colourFromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
