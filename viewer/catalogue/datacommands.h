#pragma once
// The commands that hand a data file to another program: the updater for the
// current list, and the desktop's opener for the data file and the data box.
#include "services.h"

#include <QString>
#include <functional>

class CatalogueList;
class CompactMode;
class KeyListPane;

class DataCommands {
public:
    using MessageBox = std::function<void(const QString &text)>;

    DataCommands(CatalogueList &catalogue, KeyListPane &keyList, CompactMode &compactMode, platform::Services services,
                 QString programFolder, QString dataFolder, MessageBox message);

    // Goes into compact mode and starts the updater on the current list.
    void updateCurrentList();
    void openCurrentDataFile();
    void openDataBox();

private:
    CatalogueList &m_catalogue;
    KeyListPane &m_keyList;
    CompactMode &m_compactMode;
    platform::Services m_services;
    QString m_programFolder;  // where kox is looked for first
    QString m_dataFolder;     // holds the data box
    MessageBox m_message;
};
