// FileExists on real paths, and the version text both programs show.
#include "appinfo.h"
#include "fileattributes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <future>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using platform::FileExists;

class TestFileAttributes : public QObject {
    Q_OBJECT

private slots:
    void init();
    void existence_data();
    void existence();
    void hiddenDotFile();
    void readOnlyFile();
    void fifoDoesNotBlock();
    void versionText_data();
    void versionText();
    void versionTextOfThisBuild();

private:
    QString makeFile(const QString &name);
    std::unique_ptr<QTemporaryDir> dir;
};

void TestFileAttributes::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

QString TestFileAttributes::makeFile(const QString &name)
{
    const QString path = dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("x\r\n");
    return path;
}

void TestFileAttributes::existence_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("directory");

    QTest::newRow("file") << "file" << true << false;
    QTest::newRow("folder") << "folder" << true << true;
    QTest::newRow("folder with trailing separator") << "folder/" << true << true;
    QTest::newRow("missing") << "missing" << false << false;
    QTest::newRow("inside a missing folder") << "missing/file" << false << false;
    QTest::newRow("inside a file") << "file/inner" << false << false;
    QTest::newRow("empty path") << "" << false << false;
}

void TestFileAttributes::existence()
{
    QFETCH(QString, kind);
    QFETCH(bool, exists);
    QFETCH(bool, directory);

    QVERIFY(!makeFile(QStringLiteral("file")).isEmpty());
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("folder")));
    const QString path = kind.isEmpty() ? QString() : QDir::toNativeSeparators(dir->filePath(kind));

    const platform::FileAttributes found = FileExists(path);
    QCOMPARE(found.exists, exists);
    QCOMPARE(found.isDirectory(), directory);
    if (exists)
        QCOMPARE(bool(found.attributes & platform::AttrDirectory), directory);
}

void TestFileAttributes::hiddenDotFile()
{
#ifndef Q_OS_UNIX
    QSKIP("dot files are hidden only on Unix");
#endif
    const QString hidden = makeFile(QStringLiteral(".hidden"));
    const QString plain = makeFile(QStringLiteral("plain"));
    QVERIFY(FileExists(hidden).attributes & platform::AttrHidden);
    QVERIFY(!(FileExists(plain).attributes & platform::AttrHidden));
    // "." and ".." name folders, not hidden files.
    QVERIFY(!(FileExists(dir->path() + QStringLiteral("/.")).attributes & platform::AttrHidden));
}

void TestFileAttributes::readOnlyFile()
{
    const QString path = makeFile(QStringLiteral("locked.txt"));
    QVERIFY(!(FileExists(path).attributes & platform::AttrReadOnly));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const platform::FileAttributes found = FileExists(path);
    QVERIFY(found.exists);
    QVERIFY(found.attributes & platform::AttrReadOnly);
    QVERIFY(!found.isDirectory());
}

// Opening a FIFO blocks until a writer comes; the attribute query must not open it.
void TestFileAttributes::fifoDoesNotBlock()
{
#ifndef Q_OS_UNIX
    QSKIP("no FIFOs here");
#else
    const QString path = dir->filePath(QStringLiteral("pipe"));
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    std::promise<platform::FileAttributes> promise;
    std::future<platform::FileAttributes> result = promise.get_future();
    std::thread([path, p = std::move(promise)]() mutable { p.set_value(FileExists(path)); }).detach();
    QVERIFY2(result.wait_for(std::chrono::seconds(5)) == std::future_status::ready, "FileExists blocked on a FIFO");
    const platform::FileAttributes found = result.get();
    QVERIFY(found.exists);
    QVERIFY(!found.isDirectory());
    // Not an ordinary file: a data box listing must pass it over.
    QVERIFY(found.attributes & platform::AttrSystem);
#endif
}

void TestFileAttributes::versionText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");

    QTest::newRow("viewer") << "tuvelv" << 1 << 0 << 40 << "tuvelv ver1.0.(40)";
    QTest::newRow("updater") << "kox" << 1 << 0 << 40 << "kox ver1.0.(40)";
    QTest::newRow("no leading zeros or blanks") << "tuvelv" << 2 << 10 << 0 << "tuvelv ver2.10.(0)";
    QTest::newRow("empty title") << "" << 0 << 0 << 7 << " ver0.0.(7)";
}

void TestFileAttributes::versionText()
{
    QFETCH(QString, title);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    common::AppInfo app;
    app.title = title;
    app.major = major;
    app.minor = minor;
    app.revision = revision;
    QCOMPARE(common::VersionText(app), text);
}

// The build's version numbers reach the application object.
void TestFileAttributes::versionTextOfThisBuild()
{
    const common::AppInfo app = common::AppInfo::current(QStringLiteral("tuvelv"));
    QCOMPARE(common::VersionText(app), QStringLiteral("tuvelv ver1.0.(40)"));
    QVERIFY(FileExists(app.programFolder).isDirectory());
}

QTEST_GUILESS_MAIN(TestFileAttributes)
#include "tst_fileattributes.moc"
