// The updater window against HTTP servers on 127.0.0.1: our own faulty server and nginx.
#include "localnginx.h"
#include "updatertestdata.h"
#include "ccommandline.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <functional>

using Setup = std::function<void(TestServer &, const QByteArray &newBody)>;
Q_DECLARE_METATYPE(Setup)

class TestUpdaterHttp : public UpdaterFixture {
    Q_OBJECT
private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("qt.qpa.fonts.warning=false"); }
    void init() { prepareDataFile(); }
    void layout();
    void startupLogsItems();
    void missingLocalFile_data();
    void missingLocalFile();
    void checkResult_data();
    void checkResult();
    void refusedAddresses_data();
    void refusedAddresses();
    void secondRequestIsRefused();
    void views();
    void makerPage();
    void againstNginx();
};

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
    for (QWidget *control :
         {(QWidget *)w->Frame1, (QWidget *)w->Frame2, (QWidget *)w->Command3, (QWidget *)w->Command4,
          (QWidget *)w->Text3, (QWidget *)w->Command1, (QWidget *)w->Command7, (QWidget *)w->Label1,
          (QWidget *)w->Command2, (QWidget *)w->Command6, (QWidget *)w->Label2, (QWidget *)w->Check1}) {
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

// clang-format off
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
// clang-format on

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
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    w->Command6->click();
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

// clang-format off
void TestUpdaterHttp::refusedAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");
    QTest::newRow("ftp") << "ftp://127.0.0.1/a.txt" << "http または https";
    QTest::newRow("file") << "file:///etc/passwd" << "http または https";
    QTest::newRow("empty") << "" << "指定されていません";
    QTest::newRow("no host") << "http://" << "正しくありません";
}
// clang-format on

void TestUpdaterHttp::refusedAddresses()
{
    QFETCH(QString, address);
    QFETCH(QString, message);
    auto w = window();
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(address);
    w->Command6->click();
    QVERIFY(!w->Inet1().busy());
    QVERIFY2(w->allBoxTexts().contains(message), qPrintable(w->allBoxTexts()));
    w->boxes.clear();
    w->Command1->click();
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
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    w->Command6->click();
    w->Command6->click();
    w->Command1->click();
    w->Command4->click();
    QCOMPARE(w->logText().count("ただいま通信中です。"), 3);
    waitIdle(*w);
    QCOMPARE(server.requests, QStringList{"HEAD /a.txt"});
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdaterHttp::views()
{
    writeFile(m_local, "\x93\xfa\x96\x7b\x8c\xea");  // 日本語 in CP932
    TestServer server;
    server.route("HEAD", "/a.txt", ok("\x95\x5c"));
    server.route("GET", "/a.txt", ok("\x95\x5c"));
    auto w = window();
    w->Session().setLocalFilePath(m_local);
    w->Session().setWebFilePath(server.url("/a.txt"));
    w->Command2->click();
    QCOMPARE(w->views.value(0).text, QString());  // nothing has arrived yet
    w->Command6->click();
    waitIdle(*w);
    w->Command2->click();
    QCOMPARE(w->views.value(1).caption, QString("Headeres"));
    QVERIFY(w->views.value(1).text.contains("Last-Modified: " + LastModified));
    QVERIFY(w->views.value(1).text.contains("Content-Length: 2"));
    w->Command3->click();
    QCOMPARE(w->views.value(2).caption, m_local);
    QCOMPARE(w->views.value(2).text, QString::fromUtf8("日本語"));
    w->Command4->click();
    waitIdle(*w);
    w->Command4->click();
    waitIdle(*w);
    QCOMPARE(w->views.value(3).caption, server.url("/a.txt"));
    QCOMPARE(w->views.value(3).text, QString::fromUtf8("表"));
    QCOMPARE(server.requests.count("GET /a.txt"), 2);  // fetched anew each time
    server.route("GET", "/a.txt", withStatus(404, "Not Found"));
    w->Command4->click();
    waitIdle(*w);
    QCOMPARE(w->views.size(), 5);
    QVERIFY(w->allBoxTexts().contains("404"));
}

void TestUpdaterHttp::makerPage()
{
    auto w = window();
    emit w->Label2->linkActivated(kox::FMain::MakerPageAddress);
    QCOMPARE(m_fakes.documentOpener.opened.value(0), kox::FMain::MakerPageAddress);
    QVERIFY(kox::FMain::MakerPageAddress.startsWith("https://"));
    m_fakes.documentOpener.failing = true;
    emit w->Label2->linkActivated(kox::FMain::MakerPageAddress);
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
    QCOMPARE(w->Session().RemoteSize(), qint64(body.size()));
    QVERIFY(w->Command4->text().endsWith(QString::number(body.size()) + " byte"));
    w->Command2->click();
    QVERIFY(w->views.value(0).text.contains("Last-Modified: "));
    w->Check1->setChecked(true);
    w->Command1->click();
    waitIdle(*w);
    QCOMPARE(readAll(m_local), body);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));
    QVERIFY(w->logText().endsWith("バックアップファイルは削除されました。"));
    QCOMPARE(w->Label1->text(), QString("ローカルファイルはアップデートする必要がないようです。"));
    w->Command4->click();
    waitIdle(*w);
    QVERIFY(w->views.value(1).text.endsWith(QString::fromUtf8("日本語\r\n")));
    QVERIFY2(w->boxes.isEmpty(), qPrintable(w->allBoxTexts()));
    // A file nginx does not have: nothing is written, the backup stays.
    w->Session().setWebFilePath(nginx.url("missing.txt"));
    w->Command1->click();
    waitIdle(*w);
    QCOMPARE(readAll(m_local), body);
    QCOMPARE(readAll(m_local + ".bak"), body);
    QVERIFY(w->allBoxTexts().contains("404"));
}

QTEST_MAIN(TestUpdaterHttp)
#include "tst_updater_http.moc"
