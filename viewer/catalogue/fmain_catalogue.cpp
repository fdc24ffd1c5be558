// FMain: catalogue, status bar and the commands on the data files.
#include "main/fmain.h"

#include "catalogue.h"
#include "cataloguemodel.h"
#include "celltext.h"

#include <QLabel>

namespace {
constexpr quint32 DataBoxColour = 0xFFFFFF;     // white
constexpr quint32 RegisteredColour = 0x0000FF;  // red, as blue-green-red
}

void FMain::mnuFileListOpen_Click()
{
    LoadCatalogue();
}

void FMain::LoadCatalogue()
{
    m_catalogue->clear();
    for (const CatalogueRecord &record : loadCatalogueRecords(m_app.programFolder)) {
        const ListRecord &list = record.list;
        AddListRow(list.name, list.description, lastUpdateText(list.lastModified), record.location,
                   list.address,
                   record.origin == ListOrigin::DataBox ? DataBoxColour : RegisteredColour);
    }
    if (m_catalogue->count() > 0)
        setCurrentCatalogueRow(0);
    UpdateStatusBar(0);
}

int FMain::AddListRow(const QString &name, const QString &description, const QString &lastUpdate,
                      const QString &location, const QString &address, quint32 colour)
{
    return m_catalogue->addRow({name, description, lastUpdate, location, address, colour});
}

void FMain::UpdateStatusBar(int keyCount)
{
    const int rows = m_catalogue->count();
    m_panels.at(0)->setText(QStringLiteral("all ") + QString::number(rows) + QStringLiteral(" lists"));
    const QString keys = keyCount != 0 ? QString::number(keyCount) : QStringLiteral("-");
    m_panels.at(1)->setText(QStringLiteral("all ") + keys + QStringLiteral(" keys"));
    if (rows > 0) {
        // Whenever there are rows one is current; fall back to the first.
        const int current = qMax(0, currentCatalogueRow());
        const ListRow &row = m_catalogue->row(qMin(current, rows - 1));
        m_panels.at(2)->setText(QStringLiteral("date ") + row.lastUpdate);
        m_panels.at(3)->setText(cellText(row.description));  // laid out on every repaint
    }
    // A text too long for its panel can still be read in full.
    for (QLabel *panel : std::as_const(m_panels))
        panel->setToolTip(panel->text());
}

void FMain::ListView1_ItemClick(int row)
{
    if (row >= 0 && row < m_catalogue->count() && row != currentCatalogueRow())
        setCurrentCatalogueRow(row);
    UpdateStatusBar(0);
}

