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
void addDataBox(QList<CatalogueRecord> &records, const QString &programFolder)
{
    const QString folder = dataBoxFolder(programFolder);
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
// the current directory.
void addRegistered(QList<CatalogueRecord> &records, const QString &programFolder)
{
    const QString registry = registryFile(programFolder);
    if (!platform::FileExists(registry).exists)
        return;
    DataFileReader reader(registry);
    while (!reader.atEnd()) {
        const QString path = reader.ReadLine();
        const platform::FileAttributes attributes = platform::FileExists(path);
        if (!attributes.exists || attributes.isDirectory())
            continue;
        addRecord(records, path, ListOrigin::Registered);
    }
}

}  // namespace

QString dataBoxFolder(const QString &programFolder)
{
    return withSeparator(withSeparator(programFolder) + QStringLiteral("tuveldbox"));
}

QString registryFile(const QString &programFolder) { return withSeparator(programFolder) + QStringLiteral("list.txt"); }

QList<CatalogueRecord> loadCatalogueRecords(const QString &programFolder)
{
    QList<CatalogueRecord> records;
    addDataBox(records, programFolder);
    addRegistered(records, programFolder);
    return records;
}
