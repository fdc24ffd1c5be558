#pragma once
// Where the viewer keeps its data box (tuveldbox/) and list.txt. QtCore only.
//
// Portable: a data box lies beside the program (the folder a user unpacks, the Windows
// zip, `cmake --install --prefix DIR`). The program's folder is the data folder, as it
// always was, and relative paths in list.txt follow the current directory.
//
// Installed: no data box beside the program, which sits in a system layout
// (<prefix>/lib/tuvelv, the Debian package) with the shipped samples in
// <prefix>/share/tuvelv. That folder belongs to root, so each user gets one of their
// own, $XDG_DATA_HOME/tuvelv (normally ~/.local/share/tuvelv), made on first start
// with a copy of the samples; relative paths in its list.txt follow that folder.
//
// Anything else is portable, so an unpacked folder never changes its ways.
#include <QString>
#include <QStringList>

#include <functional>

struct DataFolder {
    enum Kind { Portable, Installed };
    Kind kind = Portable;
    QString folder;   // holds tuveldbox/ and list.txt (native separators); empty: installed without a home
    QString samples;  // installed: the shipped tuveldbox/, list.txt and lists/ to copy from

    static DataFolder portable(const QString &programFolder) { return {Portable, programFolder, {}}; }
    // A path read from list.txt, made into the path the catalogue opens.
    QString registeredPath(const QString &line) const;
};

// What the choice looks at; the real ones come from locateDataFolder().
struct DataFolderFacts {
    QString programFolder;
    std::function<bool(const QString &path)> isFolder;
    QString xdgDataHome;  // $XDG_DATA_HOME; empty or relative means unset (XDG rule)
    QString home;
};

DataFolder chooseDataFolder(const DataFolderFacts &facts);
// The choice for this machine: the file system, the environment, the home folder.
DataFolder locateDataFolder(const QString &programFolder);

// Where the earlier package put the viewer, its data box and the lists its users added.
inline const char *const EarlierPackageFolder = "/opt/tuvelv";

// Installed: the names of the lists in the data box of earlierFolder that the user's data
// box has no file of (the lists an upgrade from that package would leave out of sight).
QStringList listsLeftBehind(const DataFolder &data, const QString &earlierFolder);
// Copies those lists into the user's data box; the earlier ones stay where they are, and
// a list of the same name in the user's box is never written over. False when one failed.
bool copyListsLeftBehind(const DataFolder &data, const QString &earlierFolder, const QStringList &names);

// Installed, first start: makes the user's data folder with a copy of the samples.
// Never touches a data folder that exists. False when it could not be made, when
// something else is in its place, or when there is no home to make it in.
bool prepareDataFolder(const DataFolder &data);
