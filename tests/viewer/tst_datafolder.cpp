// Where the data box and list.txt live: beside the program in a portable folder, in the
// user's own data folder when installed; the first start copies the samples there.
#include "catalogue/catalogue.h"
#include "catalogue/datafolder.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

// Every file under folder, relative path and bytes.
QMap<QString, QByteArray> tree(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        QFile f(it.next());
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(f.fileName()), f.readAll());
    }
    return files;
}

}  // namespace

class TestDataFolder : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void installedRegistryFollowsTheDataFolder();
    void firstStart_data();
    void firstStart();
};

void TestDataFolder::choice_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("folders");  // the folders that exist
    QTest::addColumn<QString>("xdgDataHome");
    QTest::addColumn<QString>("home");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("samples");

    const QStringList shared{"/usr/share/tuvelv/tuveldbox"};
    QTest::newRow("unpacked folder") << "/home/u/tuvelv" << QStringList{"/home/u/tuvelv/tuveldbox"} << ""
                                     << "/home/u" << false << "/home/u/tuvelv"
                                     << "";
    QTest::newRow("data box beside wins over shared samples")
        << "/usr/lib/tuvelv" << (shared + QStringList{"/usr/lib/tuvelv/tuveldbox"}) << ""
        << "/home/u" << false << "/usr/lib/tuvelv"
        << "";
    QTest::newRow("unpacked folder without its data box") << "/home/u/tuvelv" << QStringList{} << ""
                                                          << "/home/u" << false << "/home/u/tuvelv"
                                                          << "";
    QTest::newRow("installed") << "/usr/lib/tuvelv" << shared << ""
                               << "/home/u" << true << "/home/u/.local/share/tuvelv"
                               << "/usr/share/tuvelv";
    QTest::newRow("installed, XDG_DATA_HOME") << "/usr/lib/tuvelv" << shared << "/srv/u/data"
                                              << "/home/u" << true << "/srv/u/data/tuvelv"
                                              << "/usr/share/tuvelv";
    QTest::newRow("installed, relative XDG_DATA_HOME is ignored") << "/usr/lib/tuvelv" << shared << "data"
                                                                  << "/home/u" << true << "/home/u/.local/share/tuvelv"
                                                                  << "/usr/share/tuvelv";
    QTest::newRow("installed under /usr/local")
        << "/usr/local/lib/tuvelv" << QStringList{"/usr/local/share/tuvelv/tuveldbox"} << ""
        << "/home/u" << true << "/home/u/.local/share/tuvelv"
        << "/usr/local/share/tuvelv";
    QTest::newRow("shared folder without samples") << "/usr/lib/tuvelv" << QStringList{"/usr/share/tuvelv"} << ""
                                                   << "/home/u" << false << "/usr/lib/tuvelv"
                                                   << "";
    QTest::newRow("installed, no home at all") << "/usr/lib/tuvelv" << shared << ""
                                               << "" << true << ""
                                               << "/usr/share/tuvelv";
}

void TestDataFolder::choice()
{
    QFETCH(QString, program);
    QFETCH(QStringList, folders);
    QFETCH(QString, xdgDataHome);
    QFETCH(QString, home);
    QFETCH(bool, installed);
    QFETCH(QString, folder);
    QFETCH(QString, samples);
    const auto isFolder = [&folders](const QString &path) {
        return folders.contains(QDir::fromNativeSeparators(path));
    };
    const DataFolder data = chooseDataFolder({program, isFolder, xdgDataHome, home});
    QCOMPARE(data.kind == DataFolder::Installed, installed);
    QCOMPARE(QDir::fromNativeSeparators(data.folder), folder);
    QCOMPARE(QDir::fromNativeSeparators(data.samples), samples);
}

// Installed, list.txt's relative paths mean the user's data folder wherever the viewer
// was started from, and the catalogue (and so kox) gets the full path.
void TestDataFolder::installedRegistryFollowsTheDataFolder()
{
    QTemporaryDir user;
    writeFile(user.filePath("lists/r.txt"), "relative\r\n");
    QTemporaryDir elsewhere;
    writeFile(elsewhere.filePath("a.txt"), "absolute\r\n");
    writeFile(user.filePath("list.txt"), "lists/r.txt\r\n" + QFile::encodeName(elsewhere.filePath("a.txt")) + "\r\n");
    const DataFolder data{DataFolder::Installed, QDir::toNativeSeparators(user.path()), {}};

    const QList<CatalogueRecord> records = loadCatalogueRecords(data);
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0].list.name, QStringLiteral("relative"));
    QCOMPARE(records[0].location, QDir::toNativeSeparators(user.filePath("lists/r.txt")));
    QCOMPARE(records[1].location, elsewhere.filePath("a.txt"));
}

void TestDataFolder::firstStart_data()
{
    QTest::addColumn<QString>(
        "before");  // what the user has: "none", "own lists", "empty folder", "data home is a file"
    QTest::addColumn<bool>("made");
    QTest::addColumn<bool>("copied");  // the data folder now holds the samples
    QTest::newRow("first start") << "none" << true << true;
    QTest::newRow("first start, no data home yet") << "no data home" << true << true;
    QTest::newRow("user's own lists are kept") << "own lists" << true << false;
    QTest::newRow("an empty folder is the user's") << "empty folder" << true << false;
    QTest::newRow("data home cannot be made") << "data home is a file" << false << false;
    QTest::newRow("a file in its place is no data folder") << "data folder is a file" << false << false;
    QTest::newRow("a linked folder is copied as what it holds") << "samples link lists" << true << true;
}

void TestDataFolder::firstStart()
{
    QFETCH(QString, before);
    QFETCH(bool, made);
    QFETCH(bool, copied);
    QTemporaryDir root;
    const QString samples = root.filePath("share/tuvelv");
    writeFile(samples + "/tuveldbox/greetings.txt", "greetings\r\n");
    writeFile(samples + "/lists/keigo.txt", "keigo\r\n");
    writeFile(samples + "/list.txt", "lists/keigo.txt\r\n");
    // Shipped files are read-only to the user; their copies must not be.
    QFile::setPermissions(samples + "/lists/keigo.txt", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (before == "samples link lists")
        QVERIFY(QDir().rename(samples + "/lists", root.filePath("lists")) &&
                QFile::link(root.filePath("lists"), samples + "/lists"));
    const QString dataHome = root.filePath(before == "no data home" ? "home/.local/share" : "home");
    const QString folder = dataHome + "/tuvelv";
    if (before == "own lists")
        writeFile(folder + "/tuveldbox/mine.txt", "mine\r\n");
    else if (before == "empty folder")
        QVERIFY(QDir().mkpath(folder));
    else if (before.endsWith("is a file"))
        writeFile(before.startsWith("data home") ? dataHome : folder, "not a folder");
    const QMap<QString, QByteArray> userFiles = tree(folder);
    const QString earlier = root.filePath("opt");  // a data box the earlier package left
    writeFile(earlier + "/tuveldbox/greetings.txt", "earlier\r\n");
    writeFile(earlier + "/tuveldbox/added.txt", "added\r\n");

    const DataFolder data{DataFolder::Installed, folder, samples};
    QCOMPARE(prepareDataFolder(data), made);
    QCOMPARE(tree(folder), copied ? tree(samples) : userFiles);
    if (copied) {
        QVERIFY(QFile::permissions(folder + "/lists/keigo.txt") & QFile::WriteOwner);
        // The list the samples lack is offered, and copied without leaving the earlier box.
        QCOMPARE(listsLeftBehind(data, earlier), QStringList{"added.txt"});
        QVERIFY(copyListsLeftBehind(data, earlier, {"added.txt"}) && QFile::exists(earlier + "/tuveldbox/added.txt"));
        QVERIFY(listsLeftBehind(data, earlier).isEmpty());
    }
    // Nothing is left behind beside it, whatever happened.
    if (QFileInfo(dataHome).isDir())
        QCOMPARE(QDir(dataHome).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 made || QFileInfo(folder).isFile() ? QStringList{"tuvelv"} : QStringList{});
}

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
