// kox.exe from the unzipped Windows folder, under Wine, against a loopback nginx: the
// Update button backs the data file up and replaces it with the server's copy byte for
// byte; an address the server answers with 404 leaves the data file as it was.
#include "winedriver.h"
#include "localnginx.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

constexpr int TwipsPerPixel = 15;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &content, const QDateTime &modified)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return false;
    // Written out first: a later flush would move the date to now.
    file.flush();
    return file.setFileTime(modified, QFileDevice::FileModificationTime);
}

// A CP932 data file of some size: the sample greetings list, many times over.
QByteArray serverCopy()
{
    const QByteArray sample = readAll(QStringLiteral(TUVEL_SOURCE_DIR "/data/tuveldbox/greetings.txt"));
    QByteArray body = sample;
    while (body.size() < 150000)
        body += sample.mid(sample.indexOf("\r\n#[") + 2);
    return body;
}

// The Update button's centre in kox's client area: 4300, 2600, 900 x 300 twips.
bool clickUpdate()
{
    const int x = (4300 + 900 / 2) / TwipsPerPixel;
    const int y = (2600 + 300 / 2) / TwipsPerPixel;
    return winedriver::probe(
               {QStringLiteral("click"), QStringLiteral("kox ver"), QString::number(x), QString::number(y)})
               .exitCode == 0;
}

bool dismissMessage()
{
    if (winedriver::probe({QStringLiteral("wait"), QStringLiteral("=kox"), QStringLiteral("30000")}).exitCode != 0)
        return false;
    return winedriver::probe({QStringLiteral("key"), QStringLiteral("=kox"), QStringLiteral("13")}).exitCode == 0;
}

}  // namespace

class TestKoxWine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void updateReplacesTheFileAndKeepsABackup();
    void notFoundLeavesTheFileAlone();

private:
    QTemporaryDir dir;
    QString folder;
    LocalNginx nginx;
    QString localPath;
    QProcess kox;
    const QByteArray oldBody = "古いリスト\r\n説明\r\nhttp://127.0.0.1/\r\nキー\r\n";
    const QDateTime oldDate = QDateTime(QDate(2020, 1, 1), QTime(12, 0));
    void startKox(const QString &url);
};

void TestKoxWine::initTestCase()
{
    SKIP_UNLESS_WINDOWS_BUILD_MADE();
    QVERIFY(dir.isValid());
    QString why;
    folder = winedriver::unzipPackage(dir.path(), &why);
    QVERIFY2(!folder.isEmpty(), qPrintable(why));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("www")));
    QVERIFY(writeFile(dir.path() + QStringLiteral("/www/list.txt"), serverCopy(), QDateTime::currentDateTime()));
    QVERIFY2(nginx.start(dir.path() + QStringLiteral("/www"), &why), qPrintable(why));
    // A folder name with a blank and Japanese: the path goes to kox in double quotes.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("データ box")));
    localPath = dir.path() + QStringLiteral("/データ box/list.txt");
}

void TestKoxWine::init()
{
    QFile::remove(localPath + QStringLiteral(".bak"));
    QVERIFY(writeFile(localPath, oldBody, oldDate));
}

void TestKoxWine::cleanup() { winedriver::stop(kox, QStringLiteral("kox ver")); }

void TestKoxWine::startKox(const QString &url)
{
    winedriver::startBare(kox, folder + QStringLiteral("/kox.exe"), {winedriver::windowsPath(localPath), url}, folder);
    QVERIFY(kox.waitForStarted(10000));
    const auto found = winedriver::probe({QStringLiteral("wait"), QStringLiteral("kox ver"), QStringLiteral("60000")});
    QVERIFY2(found.exitCode == 0, "kox's window did not appear");
}

void TestKoxWine::updateReplacesTheFileAndKeepsABackup()
{
    startKox(nginx.url(QStringLiteral("list.txt")));
    const QByteArray expected = readAll(dir.path() + QStringLiteral("/www/list.txt"));
    // While the first HEAD request runs, Update is refused: press until it takes.
    QDeadlineTimer deadline(90000);
    while (readAll(localPath) != expected && !deadline.hasExpired()) {
        QVERIFY(clickUpdate());
        QDeadlineTimer settle(5000);
        while (readAll(localPath) != expected && !settle.hasExpired())
            QTest::qWait(100);
    }
    QCOMPARE(readAll(localPath).size(), expected.size());
    QVERIFY(readAll(localPath) == expected);
    QVERIFY(readAll(localPath + QStringLiteral(".bak")) == oldBody);
    // The size check after the update finds the sizes equal: no restore question.
    QVERIFY2(winedriver::probe({QStringLiteral("wait"), QStringLiteral("=kox"), QStringLiteral("4000")}).exitCode != 0,
             "a message box came up after a complete download");
}

void TestKoxWine::notFoundLeavesTheFileAlone()
{
    startKox(nginx.url(QStringLiteral("missing.txt")));
    // The check reports the server's refusal in a message box titled "kox".
    QVERIFY2(dismissMessage(), "no message about the 404 answer");
    QVERIFY(clickUpdate());
    QVERIFY2(dismissMessage(), "no message about the refused download");
    QVERIFY(readAll(localPath) == oldBody);
    QCOMPARE(QFileInfo(localPath).lastModified(), oldDate);
}

QTEST_GUILESS_MAIN(TestKoxWine)
#include "tst_kox_wine.moc"
