#include "cataloguelist.h"

#include "catalogue.h"
#include "catalogueview.h"
#include "celltext.h"
#include "statuspanels.h"

namespace {
constexpr quint32 DataBoxColour = 0xFFFFFF;     // white
constexpr quint32 RegisteredColour = 0x0000FF;  // red, as blue-green-red
}  // namespace

CatalogueList::CatalogueList(CatalogueModel *model, CatalogueView *view, StatusPanels &panels, DataFolder data)
    : m_model(model), m_view(view), m_panels(panels), m_data(std::move(data))
{}

void CatalogueList::LoadCatalogue() { LoadCatalogue(loadCatalogueRecords(m_data)); }

void CatalogueList::LoadCatalogue(const QList<CatalogueRecord> &records)
{
    m_model->beginRefill();
    for (const CatalogueRecord &record : records) {
        const ListRecord &list = record.list;
        AddListRow(list.name, list.description, lastUpdateText(list.lastModified), record.location, list.address,
                   record.origin == ListOrigin::DataBox ? DataBoxColour : RegisteredColour);
    }
    m_model->endRefill();
    if (m_model->count() > 0)
        setCurrentRow(0);
    UpdateStatusBar(0);
}

int CatalogueList::AddListRow(const QString &name, const QString &description, const QString &lastUpdate,
                              const QString &location, const QString &address, quint32 colour)
{
    return m_model->addRow({name, description, lastUpdate, location, address, colour});
}

void CatalogueList::UpdateStatusBar(int keyCount)
{
    const int rows = m_model->count();
    m_panels.setText(StatusPanels::List, QStringLiteral("all ") + QString::number(rows) + QStringLiteral(" lists"));
    const QString keys = keyCount != 0 ? QString::number(keyCount) : QStringLiteral("-");
    m_panels.setText(StatusPanels::Key, QStringLiteral("all ") + keys + QStringLiteral(" keys"));
    if (rows > 0) {
        // Whenever there are rows one is current; fall back to the first.
        const int current = qMax(0, currentRow());
        const ListRow &row = m_model->row(qMin(current, rows - 1));
        m_panels.setText(StatusPanels::Date, QStringLiteral("date ") + row.lastUpdate);
        m_panels.setText(StatusPanels::Comment, cellText(row.description));  // laid out on every repaint
    }
    m_panels.showTextsAsToolTips();
}

void CatalogueList::clickRow(int row)
{
    if (row >= 0 && row < m_model->count() && row != currentRow())
        setCurrentRow(row);
    UpdateStatusBar(0);
}

int CatalogueList::currentRow() const
{
    const QModelIndex index = m_view->selectionModel()->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void CatalogueList::setCurrentRow(int row)
{
    m_view->selectionModel()->setCurrentIndex(m_model->index(row, 0),
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int CatalogueList::findRow(const QString &name) const
{
    for (int row = 0; row < m_model->count(); ++row)
        if (m_model->row(row).name == name)
            return row;
    return -1;
}

const ListRow *CatalogueList::currentList() const
{
    const int row = currentRow();
    if (m_model->count() == 0 || row < 0)
        return nullptr;
    return &m_model->row(row);
}
