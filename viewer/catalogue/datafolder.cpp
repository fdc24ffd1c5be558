#include "datafolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString DataBoxName = QStringLiteral("tuveldbox");

QString joined(const QString &folder, const QString &relative)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(folder) + QLatin1Char('/') + relative));
}

// The user's data home by the XDG rule: $XDG_DATA_HOME when it is an absolute path,
// else ~/.local/share. Empty when there is no home to put it in.
QString userDataHome(const DataFolderFacts &facts)
{
    if (!facts.xdgDataHome.isEmpty() && QDir::isAbsolutePath(facts.xdgDataHome))
        return facts.xdgDataHome;
    if (!facts.home.isEmpty() && QDir::isAbsolutePath(facts.home))
        return joined(facts.home, QStringLiteral(".local/share"));
    return {};
}

// Copies every folder and ordinary file under from into the empty folder to. The copies
// are the user's to change (kox rewrites them), whatever the shipped files' modes. A link
// is copied as what it points to; a link to a folder the copy is inside (which would
// never end) fails the copy. within: the real paths of the folders being copied.
bool copyTree(const QString &from, const QString &to, QStringList within = {})
{
    within.append(QFileInfo(from).canonicalFilePath());
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &source : entries) {
        const QString target = QDir(to).filePath(source.fileName());
        if (source.isDir()) {
            if (within.contains(source.canonicalFilePath()) || !QDir().mkdir(target) ||
                !copyTree(source.filePath(), target, within))
                return false;
        } else if (source.isFile()) {
            if (!QFile::copy(source.filePath(), target))
                return false;
            QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    return true;
}

}  // namespace

QString DataFolder::registeredPath(const QString &line) const
{
    if (kind == Portable || line.isEmpty() || !QDir::isRelativePath(line))
        return line;
    return joined(folder, line);
}

DataFolder chooseDataFolder(const DataFolderFacts &facts)
{
    if (facts.isFolder(joined(facts.programFolder, DataBoxName)))
        return DataFolder::portable(facts.programFolder);
    const QString samples = joined(facts.programFolder, QStringLiteral("../../share/tuvelv"));
    if (!facts.isFolder(joined(samples, DataBoxName)))
        return DataFolder::portable(facts.programFolder);
    // Installed, but with no home to keep the user's lists in: no data folder at all.
    const QString dataHome = userDataHome(facts);
    return {DataFolder::Installed, dataHome.isEmpty() ? QString() : joined(dataHome, QStringLiteral("tuvelv")),
            samples};
}

DataFolder locateDataFolder(const QString &programFolder)
{
    const auto isFolder = [](const QString &path) { return QFileInfo(path).isDir(); };
    // Without HOME, Qt gives the root folder as the home: that is no home for a data folder.
    const QString home = qEnvironmentVariableIsEmpty("HOME") && QDir::homePath() == QDir::rootPath()
                             ? QString()
                             : QDir::toNativeSeparators(QDir::homePath());
    return chooseDataFolder({programFolder, isFolder, qEnvironmentVariable("XDG_DATA_HOME"), home});
}

bool prepareDataFolder(const DataFolder &data)
{
    if (data.kind != DataFolder::Installed)
        return true;
    // A file or anything else in its place is no data folder, and stays as it is.
    if (data.folder.isEmpty() || QFileInfo::exists(data.folder))
        return QFileInfo(data.folder).isDir();
    // The copy is made in a folder beside it and renamed into place in one step, so a
    // first start cut short leaves no half-filled data folder that would stay so.
    const QString parent = QFileInfo(data.folder).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    QTemporaryDir staging(data.folder + QStringLiteral(".new-XXXXXX"));
    if (!staging.isValid() || !copyTree(data.samples, staging.path()))
        return false;
    if (QDir().rename(staging.path(), data.folder)) {
        staging.setAutoRemove(false);
        return true;
    }
    // Another start of the viewer may have made it meanwhile.
    return QFileInfo(data.folder).isDir();
}

QStringList listsLeftBehind(const DataFolder &data, const QString &earlierFolder)
{
    if (data.kind != DataFolder::Installed || data.folder.isEmpty())
        return {};
    const QDir mine(joined(data.folder, DataBoxName));
    QStringList names;
    for (const QString &name : QDir(joined(earlierFolder, DataBoxName)).entryList(QDir::Files))
        if (!mine.exists(name))
            names.append(name);
    return names;
}

bool copyListsLeftBehind(const DataFolder &data, const QString &earlierFolder, const QStringList &names)
{
    const QDir from(joined(earlierFolder, DataBoxName));
    const QDir to(joined(data.folder, DataBoxName));
    if (!QDir().mkpath(to.path()))
        return false;
    bool copied = true;
    for (const QString &name : names) {
        const QString target = to.filePath(name);
        // QFile::copy never replaces a file that is there.
        if (QFile::copy(from.filePath(name), target))
            QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
        else
            copied = false;
    }
    return copied;
}
