#include "datacommands.h"

#include "catalogue.h"
#include "cataloguelist.h"
#include "chrome/compactmode.h"
#include "keylistpane.h"
#include "fileattributes.h"
#include "updatelaunch.h"

DataCommands::DataCommands(CatalogueList &catalogue, KeyListPane &keyList, CompactMode &compactMode,
                           platform::Services services, QString programFolder, QString dataFolder, MessageBox message)
    : m_catalogue(catalogue),
      m_keyList(keyList),
      m_compactMode(compactMode),
      m_services(services),
      m_programFolder(std::move(programFolder)),
      m_dataFolder(std::move(dataFolder)),
      m_message(std::move(message))
{}

void DataCommands::updateCurrentList()
{
    // Minimise into compact mode first, so a message below comes while minimised.
    m_compactMode.enter();
    const ListRow *list = m_catalogue.currentList();
    if (!list)
        return;
    const QString location = list->location;
    const QString address = list->address;
    if (!platform::FileExists(location).exists || address.isEmpty()) {
        m_message(QStringLiteral("アップデート情報に誤りがあります。"));
        return;
    }
    m_keyList.clear();
    m_keyList.AddKeyRow(QStringLiteral("ファイルのアップデートを選択されました。"), true);
    m_keyList.AddKeyRow(QStringLiteral("プロセスの終了後、再度リストビュー(←)を更新してください。"), true);
    if (!m_services.processStarter->startCommandLine(updateCommandLine(location, address), m_programFolder))
        m_message(QStringLiteral("アップデートプログラム (kox) を起動できませんでした。"));
}

void DataCommands::openCurrentDataFile()
{
    if (const ListRow *list = m_catalogue.currentList())
        m_services.documentOpener->open(list->location);
}

void DataCommands::openDataBox() { m_services.documentOpener->open(dataBoxFolder(m_dataFolder)); }
