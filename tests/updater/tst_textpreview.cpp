// Text views show at most the first part of a big file, cut between characters.
#include "testablefmain.h"
#include "testserver.h"
#include "cp932.h"
#include "fakeservices.h"
#include "textpreview.h"

#include <QFile>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <optional>

class TestTextPreview : public QObject {
    Q_OBJECT
private slots:
    void cutBetweenCharacters_data();
    void cutBetweenCharacters();
    void views_data();
    void views();
    void fetchStopsAtItsBound_data();
    void fetchStopsAtItsBound();
};

void TestTextPreview::cutBetweenCharacters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("length");
    QTest::newRow("ascii") << QByteArray("abcdef") << 4 << 4;
    QTest::newRow("limit past the end") << QByteArray("abc") << 10 << 3;
    QTest::newRow("zero") << QByteArray("abc") << 0 << 0;
    // 日本語: three pairs.
    QTest::newRow("between pairs") << QByteArray("\x93\xfa\x96\x7b\x8c\xea") << 4 << 4;
    QTest::newRow("inside a pair") << QByteArray("\x93\xfa\x96\x7b\x8c\xea") << 3 << 2;
    QTest::newRow("after one ascii, inside") << QByteArray("a\x93\xfa\x96\x7b") << 4 << 3;
    // 0x81 is a lead byte and a trail byte: only the walk from the start knows.
    QTest::newRow("lead-trail lookalikes") << QByteArray("\x81\x81\x81\x81\x81") << 3 << 2;
    QTest::newRow("lead-trail lookalikes, odd start") << QByteArray("a\x81\x81\x81\x81") << 4 << 3;
    // A lead byte before a byte that cannot trail stands alone.
    QTest::newRow("lone lead before CR") << QByteArray("\x81\r\n") << 1 << 1;
    QTest::newRow("lone lead at the end") << QByteArray("ab\x81") << 3 << 3;
    QTest::newRow("half-width kana") << QByteArray("\xb1\xb2\xb3") << 2 << 2;
}

void TestTextPreview::cutBetweenCharacters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, limit);
    QFETCH(int, length);
    QCOMPARE(common::cp932::wholeCharactersLength(bytes, limit), qsizetype(length));
}

namespace {

// k everywhere, 表 (two bytes) at odd offsets and across the last byte of the bound.
QByteArray bigContent(qint64 size)
{
    QByteArray content(size, 'k');
    for (qint64 at = 1; at + 1 < size; at += 4096) {
        content[at] = '\x95';
        content[at + 1] = '\x5c';
    }
    const qint64 pairAt = textpreview::LimitBytes - 1;
    if (size > pairAt + 1) {
        content[pairAt] = '\x95';
        content[pairAt + 1] = '\x5c';
    }
    return content;
}

}  // namespace

void TestTextPreview::views_data()
{
    QTest::addColumn<bool>("remote");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("noted");
    for (bool remote : {false, true}) {
        const char *which = remote ? "new file, " : "old file, ";
        QTest::addRow("%sat the bound", which) << remote << textpreview::LimitBytes << false;
        QTest::addRow("%sone byte over", which) << remote << textpreview::LimitBytes + 1 << true;
        QTest::addRow("%sfar over", which) << remote << 3 * textpreview::LimitBytes << true;
    }
}

// The real buttons: the pair across the bound must not be split.
void TestTextPreview::views()
{
    QFETCH(bool, remote);
    QFETCH(qint64, size);
    QFETCH(bool, noted);
    const QByteArray content = bigContent(size);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.txt");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), size);
    }
    TestServer server;
    CannedReply reply;
    reply.body = content;
    server.route("GET", "/big.txt", reply);
    platform::fake::FakeServiceSet fakes;
    TestableFMain w(fakes.services());
    w.Session().setLocalFilePath(path);
    w.Session().setWebFilePath(server.url("/big.txt"));
    if (remote) {
        w.Command4->click();
        QTRY_VERIFY_WITH_TIMEOUT(!w.Inet1().busy(), 15000);
    } else {
        w.Command3->click();
    }
    QCOMPARE(w.views.size(), 1);
    QCOMPARE(w.views[0].caption, remote ? w.Session().WebFilePath() : path);
    const QString shown = w.views[0].text;
    if (noted) {
        const QByteArray kept = content.first(textpreview::LimitBytes - 1);
        QCOMPARE(shown, common::cp932::decode(kept) + textpreview::omittedNote(kept.size()));
    } else {
        QCOMPARE(shown, common::cp932::decode(content));
    }
}

void TestTextPreview::fetchStopsAtItsBound_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<int>("got");
    QTest::newRow("longer") << 2000000 << 1000 << 1000;
    QTest::newRow("one byte longer") << 1001 << 1000 << 1000;
    QTest::newRow("exactly") << 1000 << 1000 << 1000;
    QTest::newRow("shorter") << 999 << 1000 << 999;
    QTest::newRow("no bound") << 2000000 << -1 << 2000000;
}

void TestTextPreview::fetchStopsAtItsBound()
{
    QFETCH(int, size);
    QFETCH(int, maxBytes);
    QFETCH(int, got);
    TestServer server;
    CannedReply reply;
    reply.body = QByteArray(size, 'x');
    server.route("GET", "/a.txt", reply);
    HttpTransfer inet;
    std::optional<HttpTransfer::Response> response;
    QByteArray body;
    connect(&inet, &HttpTransfer::fetchFinished, this, [&](const HttpTransfer::Response &r, const QByteArray &b) {
        response = r;
        body = b;
    });
    QCOMPARE(inet.fetch(server.url("/a.txt"), maxBytes), QString());
    QTRY_VERIFY_WITH_TIMEOUT(response.has_value(), 15000);
    QVERIFY2(response->ok, qPrintable(response->error));
    QCOMPARE(body.size(), got);
    QVERIFY(!inet.busy());
}

QTEST_MAIN(TestTextPreview)
#include "tst_textpreview.moc"
