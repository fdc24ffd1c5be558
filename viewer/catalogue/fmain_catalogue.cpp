// FMain: catalogue, status bar and the commands on the data files.
#include "main/fmain.h"

#include "cataloguemodel.h"

void FMain::mnuFileListOpen_Click()
{
    LoadCatalogue();
}

void FMain::LoadCatalogue() {}

int FMain::AddListRow(const QString &name, const QString &description, const QString &lastUpdate,
                      const QString &location, const QString &address, quint32 colour)
{
    return m_catalogue->addRow({name, description, lastUpdate, location, address, colour});
}

void FMain::UpdateStatusBar(int) {}

void FMain::ListView1_ItemClick(int) {}

void FMain::ListView1_DblClick() {}

