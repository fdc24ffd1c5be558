#pragma once
// The catalogue, ListView1: one row per data file of the data box and of list.txt,
// and the status bar that reports on it.
#include "catalogue.h"
#include "cataloguemodel.h"
#include "datafolder.h"

#include <QString>

class CatalogueView;
class StatusPanels;

class CatalogueList {
public:
    CatalogueList(CatalogueModel *model, CatalogueView *view, StatusPanels &panels, DataFolder data);

    // Rebuilds every row from disk; the first row becomes current.
    void LoadCatalogue();
    // The same from records already read from disk.
    void LoadCatalogue(const QList<CatalogueRecord> &records);
    int AddListRow(const QString &name, const QString &description, const QString &lastUpdate, const QString &location,
                   const QString &address, quint32 colour);
    void UpdateStatusBar(int keyCount);
    // A click on a row: the row becomes current and the status bar shows it.
    void clickRow(int row);

    int currentRow() const;  // -1 when no row is current
    void setCurrentRow(int row);
    int findRow(const QString &name) const;  // the first row of that name, or -1
    // The current row's list; null when no row is current.
    const ListRow *currentList() const;
    CatalogueModel *model() const { return m_model; }

private:
    CatalogueModel *m_model;
    CatalogueView *m_view;
    StatusPanels &m_panels;
    DataFolder m_data;
};
