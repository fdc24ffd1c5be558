#include "catalogue.h"

#include "fileattributes.h"
#include "files.h"

#include <QDir>

namespace {

constexpr quint32 NotOrdinary = platform::AttrHidden | platform::AttrSystem | platform::AttrDirectory;

QString withSeparator(const QString &folder)
{
    const QChar separator = QDir::separator();
    if (folder.endsWith(separator) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + separator;
}

void addRecord(QList<CatalogueRecord> &records, const QString &path, ListOrigin origin)
{
    if (std::optional<ListRecord> list = readListRecord(path))
        records.append({std::move(*list), path, origin});
}

// Ordinary files only: no folders, no hidden or system files (on this side of the
// platform line FIFOs, sockets and devices count as system files), never "." or
// "..". Taken in the order the platform lists them, unsorted. Every name is kept as
// the platform gives it, one that is not valid text included: it still opens the file.
void addDataBox(QList<CatalogueRecord> &records, const QString &dataFolder)
{
    const QString folder = dataBoxFolder(dataFolder);
    for (const QString &name : platform::folderFileNames(folder)) {
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        // The platform's own attributes decide what counts as hidden or system
        // (the listing filter does not know the system bit everywhere).
        const QString path = folder + name;
        const platform::FileAttributes attributes = platform::FileExists(path);
        if (!attributes.exists || (attributes.attributes & NotOrdinary))
            continue;
        addRecord(records, path, ListOrigin::DataBox);
    }
}

// Each line is a path used exactly as written; a relative one is resolved against
// the current directory, or in a user's data folder against that folder.
void addRegistered(QList<CatalogueRecord> &records, const DataFolder &data)
{
    const QString registry = registryFile(data.folder);
    if (!platform::FileExists(registry).exists)
        return;
    DataFileReader reader(registry);
    while (!reader.atEnd()) {
        const QString path = data.registeredPath(reader.ReadLine());
        const platform::FileAttributes attributes = platform::FileExists(path);
        if (!attributes.exists || attributes.isDirectory())
            continue;
        addRecord(records, path, ListOrigin::Registered);
    }
}

}  // namespace

QString dataBoxFolder(const QString &dataFolder)
{
    return withSeparator(withSeparator(dataFolder) + QStringLiteral("tuveldbox"));
}

QString registryFile(const QString &dataFolder) { return withSeparator(dataFolder) + QStringLiteral("list.txt"); }

QList<CatalogueRecord> loadCatalogueRecords(const DataFolder &data)
{
    QList<CatalogueRecord> records;
    if (data.folder.isEmpty())
        return records;  // installed without a home: no lists of the user's
    addDataBox(records, data.folder);
    addRegistered(records, data);
    return records;
}
