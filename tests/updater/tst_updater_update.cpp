// The updater window's Update against a server on 127.0.0.1 that answers rightly
// or wrongly: what the data file, its backup, the log and the messages end up as.
#include "updatertestdata.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPushButton>
#include <functional>

using Setup = std::function<void(TestServer &, const QByteArray &newBody)>;
Q_DECLARE_METATYPE(Setup)

class TestUpdaterUpdate : public UpdaterFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("qt.qpa.fonts.warning=false"); }
    void init() { prepareDataFile(); }
    void update_data();
    void update();
};

void TestUpdaterUpdate::update_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("becomesNew");
    QTest::addColumn<bool>("backupStays");
    QTest::addColumn<QString>("expected");  // in the log or a message box

    auto plain = [](CannedReply get) {
        return Setup([get](TestServer &s, const QByteArray &body) {
            s.route("HEAD", "/a.txt", ok(body));
            CannedReply reply = get;
            if (reply.body.isNull())
                reply.body = body;
            s.route("GET", "/a.txt", reply);
        });
    };
    CannedReply whole = ok(QByteArray());
    CannedReply shortBody = ok(QByteArray());
    shortBody.sendBytes = 5000;
    CannedReply reset = ok(QByteArray());
    reset.sendBytes = 5000;
    reset.end = CannedReply::End::Reset;
    CannedReply stall = ok(QByteArray());
    stall.sendBytes = 5000;
    stall.end = CannedReply::End::Stall;
    CannedReply unannounced = ok(QByteArray());
    unannounced.announcedLength = -1;
    CannedReply overAnnounced = ok(QByteArray());
    overAnnounced.announcedLength = 300000;
    CannedReply loop = withStatus(302, "Found");
    loop.location = "/a.txt";
    const auto No = QMessageBox::No;
    const auto Yes = QMessageBox::Yes;

    QTest::newRow("whole, ticked") << plain(whole) << true << Yes << true << false
                                   << "バックアップファイルは削除されました。";
    QTest::newRow("whole, unticked") << plain(whole) << false << Yes << true << true
                                     << "アップデートプロセスは終了しました。";
    QTest::newRow("404 page") << plain(withStatus(404, "Not Found")) << true << Yes << false << true << "404";
    QTest::newRow("500 page") << plain(withStatus(500, "Internal Server Error")) << true << Yes << false << true
                              << "500";
    QTest::newRow("short body") << plain(shortBody) << true << Yes << false << true << "ダウンロードに失敗しました";
    QTest::newRow("announces more than it sends")
        << plain(overAnnounced) << true << Yes << false << true << "ダウンロードに失敗しました";
    QTest::newRow("reset mid-body") << plain(reset) << true << Yes << false << true << "ダウンロードに失敗しました";
    QTest::newRow("stall past time-out") << plain(stall) << true << Yes << false << true
                                         << "秒以内に応答しませんでした";
    QTest::newRow("redirect loop") << plain(loop) << true << Yes << false << true << "リダイレクト";
    QTest::newRow("no length, closes at end")
        << plain(unannounced) << true << Yes << true << false << "バックアップファイルは削除されました。";
    QTest::newRow("redirect") << Setup([](TestServer &s, const QByteArray &body) {
        CannedReply moved = withStatus(302, "Found");
        moved.location = "/new/a.txt";
        s.route("HEAD", "/a.txt", moved);
        s.route("GET", "/a.txt", moved);
        s.route("HEAD", "/new/a.txt", ok(body));
        s.route("GET", "/new/a.txt", ok(body));
    }) << true << Yes << true << false
                              << "バックアップファイルは削除されました。";
    auto headLies = [](TestServer &s, const QByteArray &body) {
        CannedReply head = ok(body);
        head.announcedLength = body.size() + 10;
        s.route("HEAD", "/a.txt", head);
        s.route("GET", "/a.txt", ok(body));
    };
    QTest::newRow("check sees another size, restore")
        << Setup(headLies) << true << Yes << false << true << "ファイルを以前のものに戻しました。";
    QTest::newRow("check sees another size, keep")
        << Setup(headLies) << true << No << true << true << "ファイルが正常にダウンロード出来なかったようです。";
    QTest::newRow("final check without length ends") << Setup([](TestServer &s, const QByteArray &body) {
        CannedReply head = ok(body);
        head.announcedLength = -1;
        s.route("HEAD", "/a.txt", head);
        s.route("GET", "/a.txt", ok(body));
    }) << true << Yes << true << true << "ウェブファイルパスに誤りがあります。";
}

void TestUpdaterUpdate::update()
{
    QFETCH(Setup, setup);
    QFETCH(bool, ticked);
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, becomesNew);
    QFETCH(bool, backupStays);
    QFETCH(QString, expected);
    const QByteArray body = newBody();
    const QString backup = m_local + ".bak";
    writeFile(backup, "an older backup");  // overwritten without a question
    const auto modes = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(m_local, modes));
    TestServer server;
    setup(server, body);
    auto w = window(700);
    w->show();
    w->answers = {answer};
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    w->Check1->setChecked(ticked);
    w->Command1->click();
    QVERIFY(w->logText().contains("バックアップファイル名は：\r\n" + backup + "\r\n"));
    waitIdle(*w);
    const QString seen = w->logText() + w->allBoxTexts();
    QVERIFY2(seen.contains(expected), qPrintable(seen));
    QCOMPARE(readAll(m_local) == body, becomesNew);
    if (!becomesNew)
        QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFile::permissions(m_local) & 0x7077, modes);  // a replaced file keeps its modes
    QCOMPARE(QFileInfo::exists(backup), backupStays);
    if (backupStays)
        QCOMPARE(readAll(backup), OldBody);
    QVERIFY(!w->Session().JustUpdated() || !w->isVisible());
    // Nothing is left behind in the folder but the data file and its backup.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), backupStays ? 2 : 1);
}

QTEST_MAIN(TestUpdaterUpdate)
#include "tst_updater_update.moc"
