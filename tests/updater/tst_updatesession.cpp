// The update session without a window, against a server on 127.0.0.1: what each
// check and each update comes to, and what it leaves on disk.
#include "updaterreplies.h"
#include "updatesession.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>

using kox::Outcome;
using kox::Result;
using kox::UpdateSession;
using Setup = std::function<void(TestServer &, const QByteArray &newBody)>;
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(kox::Outcome)

class TestUpdateSession : public QObject {
    Q_OBJECT
private slots:
    void init();
    void check_data();
    void check();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void update_data();
    void update();
    void restoreAfterSizeMismatch();
    void finalCheckOnlyOnce();
    void abortedByUser();
    void stopIsSilent();
    void notWritable();

private:
    Result waitFor(QSignalSpy &spy)
    {
        if (spy.isEmpty() && !spy.wait(15000))
            return Result(Outcome::Started, "no signal");
        return spy.takeFirst().at(0).value<Result>();
    }
    void start(UpdateSession &session, TestServer &server, int timeoutMs = 1500)
    {
        session.transfer().setTimeoutMilliseconds(timeoutMs);
        session.setLocalFilePath(m_local);
        session.setWebFilePath(server.url("/a.txt"));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_local;
};

void TestUpdateSession::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_local = m_dir->filePath(QStringLiteral("リスト a.txt"));
    writeFile(m_local, OldBody);
    setModified(m_local, QDateTime(QDate(2026, 3, 1), QTime(23, 58)));
}

void TestUpdateSession::check_data()
{
    QTest::addColumn<CannedReply>("reply");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<qint64>("days");
    QTest::addColumn<QString>("detail");
    CannedReply sameDay = ok(OldBody);
    sameDay.lastModified = "Sun, 01 Mar 2026 14:00:00 GMT";
    CannedReply noDate = ok(OldBody);
    noDate.lastModified.clear();
    CannedReply noLength = ok(OldBody);
    noLength.announcedLength = -1;
    CannedReply silent = ok(OldBody);
    silent.end = CannedReply::End::Silent;
    // The local file is dated 1 March 2026 23:58; the remote date is GMT + 9 hours.
    QTest::newRow("a day newer") << ok(OldBody) << Outcome::UpdateNeeded << qint64(1) << "";
    QTest::newRow("same day") << sameDay << Outcome::UpToDate << qint64(0) << "";
    QTest::newRow("no Last-modified") << noDate << Outcome::DateUnknown << qint64(0) << "";
    QTest::newRow("no Content-length") << noLength << Outcome::NoLength << qint64(0) << "";
    QTest::newRow("404") << withStatus(404, "Not Found") << Outcome::HttpError << qint64(0) << "404";
    QTest::newRow("no answer") << silent << Outcome::NoAnswer << qint64(0) << "秒以内に応答しませんでした";
}

void TestUpdateSession::check()
{
    QFETCH(CannedReply, reply);
    QFETCH(Outcome, outcome);
    QFETCH(qint64, days);
    QFETCH(QString, detail);
    TestServer server;
    server.route("HEAD", "/a.txt", reply);
    UpdateSession session;
    start(session, server, 700);
    QSignalSpy checked(&session, &UpdateSession::checked);
    QSignalSpy stages(&session, &UpdateSession::stageChanged);
    QCOMPARE(session.Refresh().outcome, Outcome::Started);
    QCOMPARE(session.Refresh().outcome, Outcome::Busy);  // one request at a time
    const Result result = waitFor(checked);
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.days, days);
    QVERIFY2(result.detail.contains(detail), qPrintable(result.detail));
    QCOMPARE(stages.size(), 1);
    QCOMPARE(server.requests, QStringList{"HEAD /a.txt"});
    const bool complete =
        outcome == Outcome::UpdateNeeded || outcome == Outcome::UpToDate || outcome == Outcome::DateUnknown;
    QCOMPARE(session.LocalSize(), complete ? qint64(OldBody.size()) : 0);
    QCOMPARE(session.RemoteSize(), complete ? qint64(OldBody.size()) : 0);
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdateSession::refusedBeforeSending_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("ftp") << "ftp://127.0.0.1/a.txt";
    QTest::newRow("empty") << "";
}

void TestUpdateSession::refusedBeforeSending()
{
    QFETCH(QString, address);
    UpdateSession session;
    session.setLocalFilePath(m_local);
    session.setWebFilePath(address);
    QSignalSpy checked(&session, &UpdateSession::checked);
    QSignalSpy updated(&session, &UpdateSession::updated);
    const Result check = session.Refresh();
    QCOMPARE(check.outcome, Outcome::Refused);
    QVERIFY(!check.detail.isEmpty());
    const Result update = session.Update();
    QCOMPARE(update.outcome, Outcome::Refused);
    QVERIFY(!session.busy());
    QTest::qWait(20);
    QVERIFY(checked.isEmpty() && updated.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdateSession::update_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("deleteBackup");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<bool>("becomesNew");
    QTest::addColumn<bool>("backupStays");
    auto serve = [](int announcedByHead, qint64 sentBytes) {
        return Setup([=](TestServer &s, const QByteArray &body) {
            CannedReply head = ok(body);
            head.announcedLength = announcedByHead < 0 ? -2 : announcedByHead;
            CannedReply get = ok(body);
            get.sendBytes = sentBytes;
            s.route("HEAD", "/a.txt", head);
            s.route("GET", "/a.txt", get);
        });
    };
    QTest::newRow("whole, backup deleted") << serve(-1, -1) << true << Outcome::BackupDeleted << true << false;
    QTest::newRow("whole, backup kept") << serve(-1, -1) << false << Outcome::Done << true << true;
    QTest::newRow("short body") << serve(-1, 5000) << true << Outcome::DownloadFailed << false << true;
    QTest::newRow("server announces another size") << serve(17, -1) << true << Outcome::SizeMismatch << true << true;
    QTest::newRow("404 page") << Setup([](TestServer &s, const QByteArray &) {
        s.route("GET", "/a.txt", withStatus(404, "Not Found"));
    }) << true << Outcome::DownloadFailed
                              << false << true;
}

void TestUpdateSession::update()
{
    QFETCH(Setup, setup);
    QFETCH(bool, deleteBackup);
    QFETCH(Outcome, outcome);
    QFETCH(bool, becomesNew);
    QFETCH(bool, backupStays);
    const QByteArray body = newBody();
    TestServer server;
    setup(server, body);
    UpdateSession session;
    start(session, server);
    session.setDeleteBackup(deleteBackup);
    QSignalSpy updated(&session, &UpdateSession::updated);
    QSignalSpy logged(&session, &UpdateSession::logged);
    QCOMPARE(session.Update().outcome, Outcome::Started);
    QCOMPARE(session.BackupFilePath(), m_local + ".bak");
    QCOMPARE(logged.value(3).value(0).toString(), m_local + ".bak");
    QCOMPARE(readAll(m_local + ".bak"), OldBody);
    QCOMPARE(waitFor(updated).outcome, outcome);
    QTRY_VERIFY(!session.busy());
    QCOMPARE(session.JustUpdated(), false);
    QCOMPARE(readAll(m_local) == body, becomesNew);
    if (!becomesNew)
        QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(QFileInfo::exists(m_local + ".bak"), backupStays);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), backupStays ? 2 : 1);
}

void TestUpdateSession::restoreAfterSizeMismatch()
{
    const QByteArray body = newBody();
    TestServer server;
    CannedReply head = ok(body);
    head.announcedLength = body.size() + 10;
    server.route("HEAD", "/a.txt", head);
    server.route("GET", "/a.txt", ok(body));
    UpdateSession session;
    start(session, server);
    QSignalSpy updated(&session, &UpdateSession::updated);
    QSignalSpy checked(&session, &UpdateSession::checked);
    session.Update();
    QCOMPARE(waitFor(updated).outcome, Outcome::SizeMismatch);
    QCOMPARE(checked.size(), 1);  // the final check's own check came first
    QCOMPARE(session.LocalSize(), qint64(body.size()));
    QCOMPARE(session.RestoreBackup(), QString());
    QCOMPARE(readAll(m_local), OldBody);
    QCOMPARE(readAll(m_local + ".bak"), OldBody);
}

void TestUpdateSession::finalCheckOnlyOnce()
{
    const QByteArray body = newBody();
    TestServer server;
    server.route("HEAD", "/a.txt", ok(body));
    server.route("GET", "/a.txt", ok(body));
    UpdateSession session;
    start(session, server);
    QSignalSpy updated(&session, &UpdateSession::updated);
    QSignalSpy checked(&session, &UpdateSession::checked);
    QSignalSpy stages(&session, &UpdateSession::stageChanged);
    session.Update();
    QCOMPARE(waitFor(updated).outcome, Outcome::Done);
    QCOMPARE(stages.size(), 3);
    QCOMPARE(stages.at(2).at(0).value<UpdateSession::Stage>(), UpdateSession::Stage::FinalCheck);
    QCOMPARE(session.Refresh().outcome, Outcome::Started);
    QCOMPARE(waitFor(checked).outcome, Outcome::UpToDate);  // the final check's
    QCOMPARE(waitFor(checked).outcome, Outcome::UpToDate);  // the refresh's
    QTest::qWait(20);
    QVERIFY(updated.isEmpty());
}

void TestUpdateSession::abortedByUser()
{
    TestServer server;
    CannedReply stall = ok(newBody());
    stall.sendBytes = 50000;
    stall.end = CannedReply::End::Stall;
    server.route("GET", "/a.txt", stall);
    UpdateSession session;
    start(session, server, 30000);
    QSignalSpy updated(&session, &UpdateSession::updated);
    QSignalSpy progress(&session, &UpdateSession::downloadProgress);
    session.Update();
    QTRY_VERIFY(!progress.isEmpty());
    session.transfer().abort();
    const Result result = waitFor(updated);
    QCOMPARE(result.outcome, Outcome::Aborted);
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdateSession::stopIsSilent()
{
    TestServer server;
    CannedReply silent = ok(OldBody);
    silent.end = CannedReply::End::Silent;
    server.route("GET", "/a.txt", silent);
    UpdateSession session;
    start(session, server, 30000);
    QSignalSpy updated(&session, &UpdateSession::updated);
    QCOMPARE(session.Update().outcome, Outcome::Started);
    session.stop();
    QVERIFY(!session.busy());
    QTest::qWait(20);
    QVERIFY(updated.isEmpty());
    QCOMPARE(readAll(m_local), OldBody);
}

void TestUpdateSession::notWritable()
{
    TestServer server;
    server.route("GET", "/a.txt", ok(newBody()));
    QVERIFY(QFile::setPermissions(m_local, QFileDevice::ReadOwner));
    UpdateSession session;
    start(session, server);
    QCOMPARE(session.Update().outcome, Outcome::NotWritable);
    QVERIFY(!QFileInfo::exists(m_local + ".bak"));
    QVERIFY(server.requests.isEmpty());
    session.setLocalFilePath(m_dir->path());
    QCOMPARE(session.Update().outcome, Outcome::NotWritable);  // a folder
}

QTEST_GUILESS_MAIN(TestUpdateSession)
#include "tst_updatesession.moc"
