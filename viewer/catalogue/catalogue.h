#pragma once
// Finding the data files of the catalogue and reading their list records, in
// catalogue order: the data box first, in listing order, then the lists named in
// list.txt, in file order. QtCore only; the window turns each record into a row.
#include "datafile.h"
#include "datafolder.h"

#include <QList>
#include <QString>

enum class ListOrigin { DataBox, Registered };

struct CatalogueRecord {
    ListRecord list;
    QString location;  // the path the file was opened by, as the catalogue shows it
    ListOrigin origin = ListOrigin::DataBox;
};

// dataFolder + "/tuveldbox/" (native separators, ending in a separator).
QString dataBoxFolder(const QString &dataFolder);
// dataFolder + "/list.txt" (native separators).
QString registryFile(const QString &dataFolder);

// Every data file of the data box and of list.txt. Missing folders, missing or
// empty registry lines, directories and paths that are not ordinary readable
// files are skipped without a word.
QList<CatalogueRecord> loadCatalogueRecords(const DataFolder &data);
// The catalogue of a portable folder.
inline QList<CatalogueRecord> loadCatalogueRecords(const QString &programFolder)
{
    return loadCatalogueRecords(DataFolder::portable(programFolder));
}
