#include "datafolder.h"

#include <QDir>
#include <QDirIterator>
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
// are the user's to change (kox rewrites them), whatever the shipped files' modes.
bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo source(it.next());
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(source.filePath()));
        if (source.isDir()) {
            if (!QDir().mkpath(target))
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
    const QString dataHome = userDataHome(facts);
    if (!facts.isFolder(joined(samples, DataBoxName)) || dataHome.isEmpty())
        return DataFolder::portable(facts.programFolder);
    return {DataFolder::Installed, joined(dataHome, QStringLiteral("tuvelv")), samples};
}

DataFolder locateDataFolder(const QString &programFolder)
{
    const auto isFolder = [](const QString &path) { return QFileInfo(path).isDir(); };
    return chooseDataFolder(
        {programFolder, isFolder, qEnvironmentVariable("XDG_DATA_HOME"), QDir::toNativeSeparators(QDir::homePath())});
}

bool prepareDataFolder(const DataFolder &data)
{
    if (data.kind != DataFolder::Installed || QFileInfo::exists(data.folder))
        return true;
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
