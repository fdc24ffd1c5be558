// The updater's care for the data file, against a server on 127.0.0.1: the dates it
// shows and compares, backup and restore, Cancel, and files it may not write.
#include "updatertestdata.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimeZone>
#include <ctime>

class TestUpdaterFiles : public UpdaterFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("qt.qpa.fonts.warning=false"); }
    void init() { prepareDataFile(); }
    void datesInLocalTime();
    void backupAndRestoreKeepDate();
    void cancelAbortsDownload();
    void cancelEndsInEveryState_data();
    void cancelEndsInEveryState();
    void readOnlyDataFile();
    void immutableDataFile();
    void missingFolder();
    void readOnlyFolder();
    void diskFull();

private:
    // Presses Update for a data file and waits until nothing is running.
    std::unique_ptr<TestableFMain> updateFrom(TestServer &server, const QString &localPath)
    {
        auto w = window();
        w->Session().setLocalFilePath(localPath);
        w->Session().setWebFilePath(server.url("/a.txt"));
        w->Command1->click();
        waitIdle(*w);
        return w;
    }
};

// Dates are shown and compared as the local clock reads them, not as UTC.
void TestUpdaterFiles::datesInLocalTime()
{
    const QByteArray oldZone = qgetenv("TZ");
    auto restoreZone = qScopeGuard([&] {
        if (oldZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", oldZone);
        tzset();
    });
    qputenv("TZ", "Asia/Tokyo");
    tzset();
    // 7:38:31 in Tokyo is still the day before in UTC.
    setModified(m_local, QDateTime(QDate(2026, 3, 2), QTime(7, 38, 31), QTimeZone("Asia/Tokyo")));
    TestServer server;
    server.route("HEAD", "/a.txt", ok(OldBody));  // 1 March 15:01 GMT: 2 March 0:01 in Japan
    auto w = window();
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    w->Command6->click();
    waitIdle(*w);
    QVERIFY2(w->Command3->text().contains(" 7:38:31\nsize : "), qPrintable(w->Command3->text()));
    QVERIFY2(w->Command4->text().contains(" 0:01:00\nsize : "), qPrintable(w->Command4->text()));
    QVERIFY2(w->logText().contains("更新対象ファイルは 0日 新しいのものです。"), qPrintable(w->logText()));
    QCOMPARE(w->Label1->text(), QString("ローカルファイルはアップデートする必要がないようです。"));
}

// The backup and the restored file keep the data file's date and modes, so that a
// check after a restore still sees the server's copy as newer.
void TestUpdaterFiles::backupAndRestoreKeepDate()
{
    const QByteArray body = newBody();
    TestServer server;
    CannedReply head = ok(body);
    head.announcedLength = body.size() + 10;  // the final check sees another size
    head.lastModified = "Thu, 05 Mar 2026 00:00:00 GMT";
    server.route("HEAD", "/a.txt", head);
    server.route("GET", "/a.txt", ok(body));
    const auto modes = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(m_local, modes));
    setModified(m_local, QDateTime(QDate(2026, 3, 1), QTime(18, 38, 31)));
    const QDateTime stamp = QFileInfo(m_local).lastModified();
    const QString backup = m_local + ".bak";
    auto w = window(5000);
    w->show();
    w->answers = {QMessageBox::Yes};
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    w->Command1->click();
    QCOMPARE(QFileInfo(backup).lastModified(), stamp);
    QCOMPARE(QFile::permissions(backup) & 0x7077, modes);
    waitIdle(*w);
    QVERIFY2(w->allBoxTexts().contains("ファイルを以前のものに戻しました。"), qPrintable(w->allBoxTexts()));
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFileInfo(m_local).lastModified(), stamp);
    QCOMPARE(QFile::permissions(m_local) & 0x7077, modes);
    w->Command6->click();
    waitIdle(*w);
    QVERIFY2(w->logText().endsWith("更新対象ファイルは 4日 新しいのものです。"), qPrintable(w->logText()));
    QCOMPARE(w->Label1->text(), QString("ローカルファイルはアップデートする必要があるようです。"));
}

void TestUpdaterFiles::cancelAbortsDownload()
{
    TestServer server;
    const QByteArray body = newBody();
    CannedReply stall = ok(body);
    stall.sendBytes = 50000;
    stall.end = CannedReply::End::Stall;
    server.route("GET", "/a.txt", stall);
    setModified(m_local, QDateTime(QDate(2026, 3, 1), QTime(18, 38, 31)));
    const QDateTime stamp = QFileInfo(m_local).lastModified();
    auto w = window(30000);
    w->show();
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    w->Command1->click();
    QTRY_VERIFY2(w->Label1->text().contains(QRegularExpression("50,?000 バイト / 200,?\\d{3} バイト \\(2\\d%\\)")),
                 qPrintable(w->Label1->text()));
    w->Command7->click();  // stops the download and ends, in one press
    QVERIFY(!w->Inet1().busy());
    QVERIFY(!w->isVisible());
    QVERIFY(w->boxes.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFileInfo(m_local).lastModified(), stamp);
    // The data file and its backup; no half-written temporary file.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2);
}

void TestUpdaterFiles::cancelEndsInEveryState_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("idle") << "idle";
    QTest::newRow("while checking") << "checking";
    QTest::newRow("while fetching the new file") << "fetching";
}

void TestUpdaterFiles::cancelEndsInEveryState()
{
    QFETCH(QString, state);
    TestServer server;
    CannedReply silent = ok(OldBody);
    silent.end = CannedReply::End::Silent;
    server.route("HEAD", "/a.txt", silent);
    server.route("GET", "/a.txt", silent);
    auto w = window(30000);
    w->show();
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    if (state == "checking")
        w->Command6->click();
    else if (state == "fetching")
        w->Command4->click();
    QCOMPARE(w->Inet1().busy(), state != "idle");
    w->Command7->click();
    QVERIFY(!w->isVisible());
    QVERIFY(!w->Inet1().busy());
    QVERIFY2(w->boxes.isEmpty(), qPrintable(w->allBoxTexts()));  // ends without a word
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdaterFiles::readOnlyDataFile()
{
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    QVERIFY(QFile::setPermissions(m_local, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QDateTime stamp = QFileInfo(m_local).lastModified();
    auto w = updateFrom(server, m_local);
    QVERIFY2(w->allBoxTexts().contains("読み取り専用"), qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFileInfo(m_local).lastModified(), stamp);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));  // checked before any backup is made
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QFileInfo(m_local).fileName()});
}

// The folder is writable but the file cannot be replaced: as root only the
// immutable attribute stops it.
void TestUpdaterFiles::immutableDataFile()
{
    if (!runs("chattr", {"+i", m_local}))
        QSKIP("chattr +i is not available here");
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    auto w = updateFrom(server, m_local);
    runs("chattr", {"-i", m_local});
    QVERIFY2(w->allBoxTexts().contains("読み取り専用"), qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));  // found out before the backup
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 1);
}

// A data file whose folder is gone: nothing to back up, and the writer says why
// in our own words, not the system's English.
void TestUpdaterFiles::missingFolder()
{
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    auto w = updateFrom(server, m_dir->filePath("gone/a.txt"));
    QVERIFY2(w->allBoxTexts().contains("ローカルファイルを書き込めません（ファイルまたはフォルダーが見つかりません）"),
             qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QVERIFY(!QFileInfo::exists(m_dir->filePath("gone")));
}

void TestUpdaterFiles::readOnlyFolder()
{
    if (!runs("chattr", {"+i", m_dir->path()}))
        QSKIP("chattr +i is not available here");
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    auto w = updateFrom(server, m_local);
    runs("chattr", {"-i", m_dir->path()});
    QVERIFY2(w->allBoxTexts().contains(
                 "バックアップを作成できませんでした（ファイルやフォルダーへのアクセスが許可されていません）"),
             qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));
}

// A disk too small for the new file: the old one stays whole, nothing half-written
// is left, and the user reads the cause in Japanese.
void TestUpdaterFiles::diskFull()
{
    const QString mountPoint = m_dir->filePath("small disk");
    QVERIFY(QDir().mkpath(mountPoint));
    if (!runs("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mountPoint}))
        QSKIP("cannot mount a small file system here");
    auto unmount = qScopeGuard([&] { runs("umount", {mountPoint}); });
    const QString local = mountPoint + "/a.txt";
    writeFile(local, OldBody);
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));  // 200 kB
    auto w = updateFrom(server, local);
    QVERIFY2(w->allBoxTexts().contains("ローカルファイルを書き込めません（ディスクの空き容量が足りません）"),
             qPrintable(w->allBoxTexts()));
    QCOMPARE(readAll(local), OldBody);
    QCOMPARE(QDir(mountPoint).entryList(QDir::Files), QStringList({"a.txt", "a.txt.bak"}));
}

QTEST_MAIN(TestUpdaterFiles)
#include "tst_updater_files.moc"
