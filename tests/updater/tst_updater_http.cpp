// The updater window against HTTP servers on 127.0.0.1: our own faulty server and nginx.
#include "localnginx.h"
#include "testablefmain.h"
#include "testserver.h"
#include "platform/fake/fakeservices.h"
#include "updater/ccommandline.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QLabel>
#include <QLoggingCategory>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>
#include <QTimeZone>
#include <ctime>
#include <functional>

using Setup = std::function<void(TestServer &, const QByteArray &newBody)>;
Q_DECLARE_METATYPE(Setup)

namespace {

const QByteArray OldBody = "old list\r\ndescription\r\nhttp://x/\r\nkey\r\n";
const QByteArray LastModified = "Sun, 01 Mar 2026 15:01:00 GMT";

QByteArray newBody()
{
    QByteArray body;
    for (int i = 0; body.size() < 200000; ++i)
        body += "key line " + QByteArray::number(i) + "\r\n";
    return body;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

CannedReply ok(const QByteArray &body)
{
    CannedReply reply;
    reply.body = body;
    reply.lastModified = LastModified;
    return reply;
}

CannedReply withStatus(int status, const QByteArray &reason)
{
    CannedReply reply;
    reply.status = status;
    reply.reason = reason;
    reply.body = "<html>" + reason + "</html>";
    reply.lastModified = LastModified;
    return reply;
}

bool runs(const QString &program, const QStringList &arguments)
{
    return QProcess::execute(program, arguments) == 0;
}

} // namespace

class TestUpdaterHttp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("qt.qpa.fonts.warning=false"); }
    void init();
    void layout();
    void startupLogsItems();
    void missingLocalFile_data();
    void missingLocalFile();
    void checkResult_data();
    void checkResult();
    void datesInLocalTime();
    void refusedAddresses_data();
    void refusedAddresses();
    void secondRequestIsRefused();
    void update_data();
    void update();
    void backupAndRestoreKeepDate();
    void cancelAbortsDownload();
    void cancelEndsInEveryState_data();
    void cancelEndsInEveryState();
    void readOnlyDataFile();
    void immutableDataFile();
    void missingFolder();
    void readOnlyFolder();
    void views();
    void makerPage();
    void againstNginx();

private:
    std::unique_ptr<TestableFMain> window(int timeoutMs = 1500);
    void waitIdle(TestableFMain &w)
    {
        QTRY_VERIFY_WITH_TIMEOUT(!w.Inet1().busy(), 15000);
    }

    platform::fake::FakeServiceSet m_fakes;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_local;
};

void TestUpdaterHttp::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_local = m_dir->filePath(QStringLiteral("リスト a.txt"));
    writeFile(m_local, OldBody);
}

std::unique_ptr<TestableFMain> TestUpdaterHttp::window(int timeoutMs)
{
    auto w = std::make_unique<TestableFMain>(m_fakes.services());
    w->Inet1().setTimeoutMilliseconds(timeoutMs);
    return w;
}

void TestUpdaterHttp::layout()
{
    auto w = window();
    QCOMPARE(w->size(), QSize(420, 228));
    QCOMPARE(w->Command3->parentWidget(), w->Frame1);
    QCOMPARE(w->Command2->parentWidget(), w->Frame2);
    // Twips at 15 per pixel.
    QCOMPARE(w->Frame2->geometry(), QRect(213, 7, 200, 100));
    QCOMPARE(w->Command4->geometry(), QRect(7, 20, 187, 53));
    QCOMPARE(w->Text3->geometry(), QRect(7, 113, 407, 47));
    QCOMPARE(w->Command7->geometry(), QRect(353, 173, 60, 20));
    QCOMPARE(w->Check1->text(), QString("更新後、バックアップファイルを削除する。"));
    QVERIFY(!w->Check1->isChecked());
    QCOMPARE(w->Command2->text(), QString("Headeres"));
    // Tab moves through the controls that take focus in this order.
    QList<QWidget *> expected;
    for (QWidget *control : {(QWidget *)w->Frame1, (QWidget *)w->Frame2, (QWidget *)w->Command3,
                             (QWidget *)w->Command4, (QWidget *)w->Text3, (QWidget *)w->Command1,
                             (QWidget *)w->Command7, (QWidget *)w->Label1, (QWidget *)w->Command2,
                             (QWidget *)w->Command6, (QWidget *)w->Label2, (QWidget *)w->Check1}) {
        if (control->focusPolicy() & Qt::TabFocus)
            expected.append(control);
    }
    QCOMPARE(expected.size(), 9);
    QList<QWidget *> chain;
    QWidget *at = w.get();
    do {
        if (expected.contains(at))
            chain.append(at);
        at = at->nextInFocusChain();
    } while (at != w.get());
    QCOMPARE(chain, expected);
}

void TestUpdaterHttp::startupLogsItems()
{
    TestServer server;
    server.route("HEAD", "/a.txt", ok(OldBody));
    auto w = window();
    CCommandLine line;
    line.SetItems({m_local, server.url("/a.txt")});
    QVERIFY(w->Form_Load(line));
    QVERIFY(w->windowTitle().contains(QRegularExpression(R"(^kox ver\d+\.\d+\.\(\d+\)$)")));
    QCOMPARE(w->logText().left(w->logText().indexOf("更新対象") - 2),
             "\r\n" + m_local + "\r\n" + server.url("/a.txt") + "\r\n");
    waitIdle(*w);
    QCOMPARE(server.requests, QStringList{"HEAD /a.txt"});
    QVERIFY(w->boxes.isEmpty());
}

void TestUpdaterHttp::missingLocalFile_data()
{
    QTest::addColumn<bool>("goOn");
    QTest::newRow("user declines") << false;
    QTest::newRow("user goes on") << true;
}

void TestUpdaterHttp::missingLocalFile()
{
    QFETCH(bool, goOn);
    TestServer server;
    auto w = window();
    w->answers = {goOn ? QMessageBox::Yes : QMessageBox::No};
    CCommandLine line;
    const QString missing = m_dir->filePath("none.txt");
    line.SetItems({missing, server.url("/a.txt")});
    QCOMPARE(w->Form_Load(line), goOn);
    QCOMPARE(w->boxes.value(0).text, QString("ローカルファイルパスに実体がありません。\nそのまま通しますか？"));
    QCOMPARE(w->isVisible(), goOn);
    if (goOn) {
        QCOMPARE(w->boxes.value(1).text, "それでは、以下のようなファイル名で処理を進めていきます。\n\n" + missing);
        waitIdle(*w);
        QCOMPARE(server.requests, QStringList{"HEAD /a.txt"});
    } else {
        QCOMPARE(w->boxes.size(), 1);
        QTest::qWait(50);
        QVERIFY(server.requests.isEmpty());
    }
}

void TestUpdaterHttp::checkResult_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("alert");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QString>("boxed");
    QTest::addColumn<bool>("visible");
    auto head = [](CannedReply reply) {
        return Setup([reply](TestServer &s, const QByteArray &) { s.route("HEAD", "/a.txt", reply); });
    };
    // The local file is dated 1 March 2026 23:58; the remote date is GMT + 9 hours.
    CannedReply nextDay = ok(OldBody);
    CannedReply sameDay = ok(OldBody);
    sameDay.lastModified = "Sun, 01 Mar 2026 14:00:00 GMT";
    CannedReply older = ok(OldBody);
    older.lastModified = "Sat, 20 Feb 2026 00:00:00 GMT";
    CannedReply noDate = ok(OldBody);
    noDate.lastModified.clear();
    CannedReply badDate = ok(OldBody);
    badDate.lastModified = "Sun, 01 Mar";
    CannedReply hugeYear = ok(OldBody);
    hugeYear.lastModified = "Sat, 01 Jan 300000000 00:00:00 GMT";
    CannedReply noLength = ok(OldBody);
    noLength.announcedLength = -1;
    CannedReply stall = ok(OldBody);
    stall.end = CannedReply::End::Silent;
    CannedReply loop = withStatus(302, "Found");
    loop.location = "/a.txt";

    const QString needed = "ローカルファイルはアップデートする必要があるようです。";
    const QString notNeeded = "ローカルファイルはアップデートする必要がないようです。";
    const QString failed = "ウェブファイルの情報を取得できませんでした。";
    QTest::newRow("a day later across midnight") << head(nextDay) << needed << true << "更新対象ファイルは 1日 新しいのものです。" << "" << true;
    QTest::newRow("same day") << head(sameDay) << notNeeded << false << "更新対象ファイルは 0日 新しいのものです。" << "" << true;
    QTest::newRow("remote older") << head(older) << notNeeded << false << "更新対象ファイルは -9日 新しいのものです。" << "" << true;
    QTest::newRow("404 keeps the window") << head(withStatus(404, "Not Found")) << failed << false << "404" << "ウェブファイルパスに誤りがあります。\n" << true;
    QTest::newRow("500 keeps the window") << head(withStatus(500, "Internal Server Error")) << failed << false << "500" << "ウェブファイルパスに誤りがあります。\n" << true;
    QTest::newRow("no Content-length ends") << head(noLength) << "ただいま、必要な情報を取得しています..." << false << "" << "ウェブファイルパスに誤りがあります。" << false;
    QTest::newRow("no Last-modified") << head(noDate) << "ウェブファイルの更新日時が分からないため、更新の要否を判定できません。" << false << "Last-modified" << "" << true;
    QTest::newRow("unparsable Last-modified") << head(badDate) << "ウェブファイルの更新日時が分からないため、更新の要否を判定できません。" << false << "Last-modified" << "" << true;
    QTest::newRow("Last-modified past the date range") << head(hugeYear) << "ウェブファイルの更新日時が分からないため、更新の要否を判定できません。" << false << "Last-modified" << "" << true;
    QTest::newRow("time-out") << head(stall) << failed << false << "秒以内に応答しませんでした" << "" << true;
    QTest::newRow("redirect loop") << head(loop) << failed << false << "リダイレクト" << "ウェブファイルパスに誤りがあります。\n" << true;
    QTest::newRow("redirect") << Setup([nextDay](TestServer &s, const QByteArray &) {
        CannedReply moved = withStatus(301, "Moved Permanently");
        moved.location = "/b.txt";
        s.route("HEAD", "/a.txt", moved);
        s.route("HEAD", "/b.txt", nextDay);
    }) << needed << true << "1日" << "" << true;
}

void TestUpdaterHttp::checkResult()
{
    QFETCH(Setup, setup);
    QFETCH(QString, status);
    QFETCH(bool, alert);
    QFETCH(QString, logged);
    QFETCH(QString, boxed);
    QFETCH(bool, visible);
    QFile(m_local).open(QIODevice::ReadWrite);
    {
        QFile file(m_local);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 1), QTime(23, 58)), QFileDevice::FileModificationTime));
    }
    TestServer server;
    setup(server, OldBody);
    auto w = window(700);
    w->show();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command6_Click();
    waitIdle(*w);
    QCOMPARE(w->Label1->text(), status);
    QCOMPARE(w->Label1->palette().color(QPalette::Window) == QColor(255, 0, 0), alert);
    if (!logged.isEmpty())
        QVERIFY2(w->logText().contains(logged), qPrintable(w->logText()));
    if (boxed.isEmpty())
        QVERIFY2(w->boxes.isEmpty(), qPrintable(w->allBoxTexts()));
    else
        QVERIFY2(w->boxes.value(0).text.startsWith(boxed), qPrintable(w->allBoxTexts()));
    QCOMPARE(w->isVisible(), visible);
    QCOMPARE(readAll(m_local), OldBody);
}

// Dates are shown and compared as the local clock reads them, not as UTC.
void TestUpdaterHttp::datesInLocalTime()
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
    {
        // 7:38:31 in Tokyo is still the day before in UTC.
        QFile file(m_local);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 2), QTime(7, 38, 31), QTimeZone("Asia/Tokyo")),
                                 QFileDevice::FileModificationTime));
    }
    TestServer server;
    server.route("HEAD", "/a.txt", ok(OldBody));  // 1 March 15:01 GMT: 2 March 0:01 in Japan
    auto w = window();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command6_Click();
    waitIdle(*w);
    QVERIFY2(w->Command3->text().contains(" 7:38:31\nsize : "), qPrintable(w->Command3->text()));
    QVERIFY2(w->Command4->text().contains(" 0:01:00\nsize : "), qPrintable(w->Command4->text()));
    QVERIFY2(w->logText().contains("更新対象ファイルは 0日 新しいのものです。"), qPrintable(w->logText()));
    QCOMPARE(w->Label1->text(), QString("ローカルファイルはアップデートする必要がないようです。"));
}

void TestUpdaterHttp::refusedAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");
    QTest::newRow("ftp") << "ftp://127.0.0.1/a.txt" << "http または https";
    QTest::newRow("file") << "file:///etc/passwd" << "http または https";
    QTest::newRow("empty") << "" << "指定されていません";
    QTest::newRow("no host") << "http://" << "正しくありません";
}

void TestUpdaterHttp::refusedAddresses()
{
    QFETCH(QString, address);
    QFETCH(QString, message);
    auto w = window();
    w->LocalFilePath = m_local;
    w->WebFilePath = address;
    w->Command6_Click();
    QVERIFY(!w->Inet1().busy());
    QVERIFY2(w->allBoxTexts().contains(message), qPrintable(w->allBoxTexts()));
    w->boxes.clear();
    w->Command1_Click();
    QVERIFY(!w->Inet1().busy());
    QVERIFY2(w->allBoxTexts().contains(message), qPrintable(w->allBoxTexts()));
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(w->Label1->text(), QString("更新を中止しました。"));
}

void TestUpdaterHttp::secondRequestIsRefused()
{
    TestServer server;
    server.route("HEAD", "/a.txt", ok(OldBody));
    auto w = window();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command6_Click();
    w->Command6_Click();
    w->Command1_Click();
    w->Command4_Click();
    QCOMPARE(w->logText().count("ただいま通信中です。"), 3);
    waitIdle(*w);
    QCOMPARE(server.requests, QStringList{"HEAD /a.txt"});
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdaterHttp::update_data()
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

    QTest::newRow("whole, ticked") << plain(whole) << true << Yes << true << false << "バックアップファイルは削除されました。";
    QTest::newRow("whole, unticked") << plain(whole) << false << Yes << true << true << "アップデートプロセスは終了しました。";
    QTest::newRow("404 page") << plain(withStatus(404, "Not Found")) << true << Yes << false << true << "404";
    QTest::newRow("500 page") << plain(withStatus(500, "Internal Server Error")) << true << Yes << false << true << "500";
    QTest::newRow("short body") << plain(shortBody) << true << Yes << false << true << "ダウンロードに失敗しました";
    QTest::newRow("announces more than it sends") << plain(overAnnounced) << true << Yes << false << true << "ダウンロードに失敗しました";
    QTest::newRow("reset mid-body") << plain(reset) << true << Yes << false << true << "ダウンロードに失敗しました";
    QTest::newRow("stall past time-out") << plain(stall) << true << Yes << false << true << "秒以内に応答しませんでした";
    QTest::newRow("redirect loop") << plain(loop) << true << Yes << false << true << "リダイレクト";
    QTest::newRow("no length, closes at end") << plain(unannounced) << true << Yes << true << false << "バックアップファイルは削除されました。";
    QTest::newRow("redirect") << Setup([](TestServer &s, const QByteArray &body) {
        CannedReply moved = withStatus(302, "Found");
        moved.location = "/new/a.txt";
        s.route("HEAD", "/a.txt", moved);
        s.route("GET", "/a.txt", moved);
        s.route("HEAD", "/new/a.txt", ok(body));
        s.route("GET", "/new/a.txt", ok(body));
    }) << true << Yes << true << false << "バックアップファイルは削除されました。";
    auto headLies = [](TestServer &s, const QByteArray &body) {
        CannedReply head = ok(body);
        head.announcedLength = body.size() + 10;
        s.route("HEAD", "/a.txt", head);
        s.route("GET", "/a.txt", ok(body));
    };
    QTest::newRow("check sees another size, restore") << Setup(headLies) << true << Yes << false << true << "ファイルを以前のものに戻しました。";
    QTest::newRow("check sees another size, keep") << Setup(headLies) << true << No << true << true << "ファイルが正常にダウンロード出来なかったようです。";
    QTest::newRow("final check without length ends") << Setup([](TestServer &s, const QByteArray &body) {
        CannedReply head = ok(body);
        head.announcedLength = -1;
        s.route("HEAD", "/a.txt", head);
        s.route("GET", "/a.txt", ok(body));
    }) << true << Yes << true << true << "ウェブファイルパスに誤りがあります。";
}

void TestUpdaterHttp::update()
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
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Check1->setChecked(ticked);
    w->Command1_Click();
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
    QVERIFY(!w->JustUpdated || !w->isVisible());
    // Nothing is left behind in the folder but the data file and its backup.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), backupStays ? 2 : 1);
}

// The backup and the restored file keep the data file's date and modes, so that a
// check after a restore still sees the server's copy as newer.
void TestUpdaterHttp::backupAndRestoreKeepDate()
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
    {
        QFile file(m_local);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 1), QTime(18, 38, 31)), QFileDevice::FileModificationTime));
    }
    const QDateTime stamp = QFileInfo(m_local).lastModified();
    const QString backup = m_local + ".bak";
    auto w = window(5000);
    w->show();
    w->answers = {QMessageBox::Yes};
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command1_Click();
    QCOMPARE(QFileInfo(backup).lastModified(), stamp);
    QCOMPARE(QFile::permissions(backup) & 0x7077, modes);
    waitIdle(*w);
    QVERIFY2(w->allBoxTexts().contains("ファイルを以前のものに戻しました。"), qPrintable(w->allBoxTexts()));
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFileInfo(m_local).lastModified(), stamp);
    QCOMPARE(QFile::permissions(m_local) & 0x7077, modes);
    w->Command6_Click();
    waitIdle(*w);
    QVERIFY2(w->logText().endsWith("更新対象ファイルは 4日 新しいのものです。"), qPrintable(w->logText()));
    QCOMPARE(w->Label1->text(), QString("ローカルファイルはアップデートする必要があるようです。"));
}

void TestUpdaterHttp::cancelAbortsDownload()
{
    TestServer server;
    const QByteArray body = newBody();
    CannedReply stall = ok(body);
    stall.sendBytes = 50000;
    stall.end = CannedReply::End::Stall;
    server.route("GET", "/a.txt", stall);
    {
        QFile file(m_local);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 3, 1), QTime(18, 38, 31)), QFileDevice::FileModificationTime));
    }
    const QDateTime stamp = QFileInfo(m_local).lastModified();
    auto w = window(30000);
    w->show();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command1_Click();
    QTRY_VERIFY2(w->Label1->text().contains(QRegularExpression("50,?000 バイト / 200,?\\d{3} バイト \\(2\\d%\\)")), qPrintable(w->Label1->text()));
    w->Command7_Click();  // stops the download and ends, in one press
    QVERIFY(!w->Inet1().busy());
    QVERIFY(!w->isVisible());
    QVERIFY(w->boxes.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFileInfo(m_local).lastModified(), stamp);
    // The data file and its backup; no half-written temporary file.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 2);
}

void TestUpdaterHttp::cancelEndsInEveryState_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("idle") << "idle";
    QTest::newRow("while checking") << "checking";
    QTest::newRow("while fetching the new file") << "fetching";
}

void TestUpdaterHttp::cancelEndsInEveryState()
{
    QFETCH(QString, state);
    TestServer server;
    CannedReply silent = ok(OldBody);
    silent.end = CannedReply::End::Silent;
    server.route("HEAD", "/a.txt", silent);
    server.route("GET", "/a.txt", silent);
    auto w = window(30000);
    w->show();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    if (state == "checking")
        w->Command6_Click();
    else if (state == "fetching")
        w->Command4_Click();
    QCOMPARE(w->Inet1().busy(), state != "idle");
    w->Command7_Click();
    QVERIFY(!w->isVisible());
    QVERIFY(!w->Inet1().busy());
    QVERIFY2(w->boxes.isEmpty(), qPrintable(w->allBoxTexts()));  // ends without a word
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdaterHttp::readOnlyDataFile()
{
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    QVERIFY(QFile::setPermissions(m_local, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QDateTime stamp = QFileInfo(m_local).lastModified();
    auto w = window();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command1_Click();
    waitIdle(*w);
    QVERIFY2(w->allBoxTexts().contains("読み取り専用"), qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFileInfo(m_local).lastModified(), stamp);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));  // checked before any backup is made
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QFileInfo(m_local).fileName()});
}

// The folder is writable but the file cannot be replaced: as root only the
// immutable attribute stops it.
void TestUpdaterHttp::immutableDataFile()
{
    if (!runs("chattr", {"+i", m_local}))
        QSKIP("chattr +i is not available here");
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    auto w = window();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command1_Click();
    waitIdle(*w);
    runs("chattr", {"-i", m_local});
    QVERIFY2(w->allBoxTexts().contains("読み取り専用"), qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));  // found out before the backup
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 1);
}

// A data file whose folder is gone: nothing to back up, and the writer says why
// in our own words, not the system's English.
void TestUpdaterHttp::missingFolder()
{
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    auto w = window();
    w->LocalFilePath = m_dir->filePath("gone/a.txt");
    w->WebFilePath = server.url("/a.txt");
    w->Command1_Click();
    waitIdle(*w);
    QVERIFY2(w->allBoxTexts().contains("ローカルファイルを書き込めません（ファイルまたはフォルダーが見つかりません）"),
             qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QVERIFY(!QFileInfo::exists(m_dir->filePath("gone")));
}

void TestUpdaterHttp::readOnlyFolder()
{
    if (!runs("chattr", {"+i", m_dir->path()}))
        QSKIP("chattr +i is not available here");
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    auto w = window();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command1_Click();
    waitIdle(*w);
    runs("chattr", {"-i", m_dir->path()});
    QVERIFY2(w->allBoxTexts().contains("バックアップを作成できませんでした（ファイルやフォルダーへのアクセスが許可されていません）"),
             qPrintable(w->allBoxTexts()));
    QVERIFY(server.requests.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));
}

void TestUpdaterHttp::views()
{
    writeFile(m_local, "\x93\xfa\x96\x7b\x8c\xea");  // 日本語 in CP932
    TestServer server;
    server.route("HEAD", "/a.txt", ok("\x95\x5c"));
    server.route("GET", "/a.txt", ok("\x95\x5c"));
    auto w = window();
    w->LocalFilePath = m_local;
    w->WebFilePath = server.url("/a.txt");
    w->Command2_Click();
    QCOMPARE(w->views.value(0).text, QString());  // nothing has arrived yet
    w->Command6_Click();
    waitIdle(*w);
    w->Command2_Click();
    QCOMPARE(w->views.value(1).caption, QString("Headeres"));
    QVERIFY(w->views.value(1).text.contains("Last-Modified: " + LastModified));
    QVERIFY(w->views.value(1).text.contains("Content-Length: 2"));
    w->Command3_Click();
    QCOMPARE(w->views.value(2).caption, m_local);
    QCOMPARE(w->views.value(2).text, QString::fromUtf8("日本語"));
    w->Command4_Click();
    waitIdle(*w);
    w->Command4_Click();
    waitIdle(*w);
    QCOMPARE(w->views.value(3).caption, server.url("/a.txt"));
    QCOMPARE(w->views.value(3).text, QString::fromUtf8("表"));
    QCOMPARE(server.requests.count("GET /a.txt"), 2);  // fetched anew each time
    server.route("GET", "/a.txt", withStatus(404, "Not Found"));
    w->Command4_Click();
    waitIdle(*w);
    QCOMPARE(w->views.size(), 5);
    QVERIFY(w->allBoxTexts().contains("404"));
}

void TestUpdaterHttp::makerPage()
{
    auto w = window();
    w->Label2_Click();
    QCOMPARE(m_fakes.documentOpener.opened.value(0), FMain::MakerPageAddress);
    QVERIFY(FMain::MakerPageAddress.startsWith("https://"));
    m_fakes.documentOpener.failing = true;
    w->Label2_Click();
    QVERIFY(w->logText().contains("ウェブページを開けませんでした"));
}

void TestUpdaterHttp::againstNginx()
{
    QTemporaryDir www;
    const QByteArray body = newBody() + "\x93\xfa\x96\x7b\x8c\xea\r\n";
    writeFile(www.filePath("list.txt"), body);
    LocalNginx nginx;
    QString why;
    if (!nginx.start(www.path(), &why))
        QFAIL(qPrintable(why));
    {
        // The local copy is older by days than the served file.
        QFile file(m_local);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
    }
    auto w = window(5000);
    CCommandLine line;
    QString text = "\"" + m_local + "\" " + nginx.url("list.txt");
    line.GetLine(text);
    QVERIFY(w->Form_Load(line));
    waitIdle(*w);
    QCOMPARE(w->Label1->text(), QString("ローカルファイルはアップデートする必要があるようです。"));
    QCOMPARE(w->RemoteSize, qint64(body.size()));
    QVERIFY(w->Command4->text().endsWith(QString::number(body.size()) + " byte"));
    w->Command2_Click();
    QVERIFY(w->views.value(0).text.contains("Last-Modified: "));
    w->Check1->setChecked(true);
    w->Command1_Click();
    waitIdle(*w);
    QCOMPARE(readAll(m_local), body);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));
    QVERIFY(w->logText().endsWith("バックアップファイルは削除されました。"));
    QCOMPARE(w->Label1->text(), QString("ローカルファイルはアップデートする必要がないようです。"));
    w->Command4_Click();
    waitIdle(*w);
    QVERIFY(w->views.value(1).text.endsWith(QString::fromUtf8("日本語\r\n")));
    QVERIFY2(w->boxes.isEmpty(), qPrintable(w->allBoxTexts()));
    // A file nginx does not have: nothing is written, the backup stays.
    w->WebFilePath = nginx.url("missing.txt");
    w->Command1_Click();
    waitIdle(*w);
    QCOMPARE(readAll(m_local), body);
    QCOMPARE(readAll(m_local + ".bak"), body);
    QVERIFY(w->allBoxTexts().contains("404"));
}

QTEST_MAIN(TestUpdaterHttp)
#include "tst_updater_http.moc"
