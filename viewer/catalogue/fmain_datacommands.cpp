// FMain: the commands that hand a data file to another program: the updater, and
// the desktop's opener for the data file and the data box.
#include "main/fmain.h"

#include "catalogue.h"
#include "cataloguemodel.h"
#include "keylistmodel.h"
#include "fileattributes.h"
#include "updatelaunch.h"

void FMain::mnuEditDataUpdaate_Click()
{
    // Minimise into compact mode first, so a message below comes while minimised.
    Toolbar3_ButtonClick(1);
    const int row = currentCatalogueRow();
    if (m_catalogue->count() == 0 || row < 0)
        return;
    const ListRow &list = m_catalogue->row(row);
    const QString location = list.location;
    const QString address = list.address;
    if (!platform::FileExists(location).exists || address.isEmpty()) {
        showMessage(QStringLiteral("アップデート情報に誤りがあります。"));
        return;
    }
    m_keys->clear();
    AddKeyRow(QStringLiteral("ファイルのアップデートを選択されました。"), true);
    AddKeyRow(QStringLiteral("プロセスの終了後、再度リストビュー(←)を更新してください。"), true);
    if (!m_services.processStarter->startCommandLine(updateCommandLine(location, address), m_app.programFolder))
        showMessage(QStringLiteral("アップデートプログラム (kox) を起動できませんでした。"));
}

void FMain::mnuViewOpenDataFile_Click()
{
    const int row = currentCatalogueRow();
    if (m_catalogue->count() == 0 || row < 0)
        return;
    m_services.documentOpener->open(m_catalogue->row(row).location);
}

void FMain::mnuViewOpenDataDir_Click()
{
    m_services.documentOpener->open(dataBoxFolder(m_app.programFolder));
}
