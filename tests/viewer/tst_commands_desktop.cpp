// The update launch and the open commands end to end on the real desktop services:
// text from data files and list.txt reaches the started program and the desktop's
// opener as plain data, and nothing else runs.
#include "catalogue/cataloguemodel.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "testwindow.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

// Awkward characters a file name may hold; a shell would act on every one.
const QString hostileName = QStringLiteral("a b;$(touch PWNED)&`touch PWNED2`|x'\"q.txt");

QStringList recorded(const QString &log, int runs)
{
    QStringList lines;
    for (int i = 0; i < 100; ++i) {
        QFile f(log);
        if (f.open(QIODevice::ReadOnly)) {
            lines = QString::fromUtf8(f.readAll()).split('\n');
            if (lines.count(QStringLiteral("---")) >= runs)
                break;
        }
        QTest::qWait(50);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

class TestCommandsDesktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void updateLaunchPassesItemsWithoutShell();
    void realUpdaterStarts();
    void openerGetsThePathWhole();
    void openerGetsANameThatIsNotUtf8();

private:
    void associateRecorder();
    TestWindow *makeWindow(const QString &programFolder);
    QTemporaryDir m_dir;
    QString m_log;
    std::unique_ptr<platform::ServiceSet> m_services;
    std::unique_ptr<TestWindow> m_window;
};

void TestCommandsDesktop::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_log = m_dir.filePath("args.log");
    qputenv("ARGRECORDER_LOG", QFile::encodeName(m_log));
    m_services = platform::createNativeServices();
}

TestWindow *TestCommandsDesktop::makeWindow(const QString &programFolder)
{
    m_window = std::make_unique<TestWindow>(m_services->services(), testAppInfo(programFolder));
    return m_window.get();
}

void TestCommandsDesktop::updateLaunchPassesItemsWithoutShell()
{
    // "kox" beside the viewer is the recorder.
    const QString program = m_dir.filePath("prog");
    QVERIFY(QDir().mkpath(program + "/tuveldbox"));
    QVERIFY(QFile::copy(QStringLiteral(TUVEL_ARGRECORDER), program + "/kox"));
    const QString dataFile = program + "/tuveldbox/" + hostileName;
    const QString address = QStringLiteral("http://127.0.0.1:1/x?a=$(touch PWNED3)&b=`id` c");
    QFile f(dataFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("n\r\nd\r\n" + address.toUtf8() + "\r\n");
    f.close();

    // The data box's one list is the current row once the window has loaded.
    TestWindow *w = makeWindow(program);
    QCOMPARE(catalogueModel(*w)->count(), 1);
    QDir::setCurrent(m_dir.path());
    chooseMenuItem(*w, "mnuEditDataUpdaate");
    QVERIFY(w->messages.isEmpty());

    // The updater sees the items its own splitting rules give: the quoted path runs to
    // the first blank after its closing quote, so it arrives whole, inner quote and all;
    // the bare address is cut at its blanks.
    const QStringList lines = recorded(m_log, 1);
    QCOMPARE(lines, (QStringList{"---", dataFile, "http://127.0.0.1:1/x?a=$(touch", "PWNED3)&b=`id`", "c"}));
    QTest::qWait(200);
    for (const char *name : {"PWNED", "PWNED2", "PWNED3"}) {
        QVERIFY(!QFile::exists(m_dir.filePath(name)));
        QVERIFY(!QFile::exists(program + "/tuveldbox/" + name));
    }
}

void TestCommandsDesktop::realUpdaterStarts()
{
    const QString kox = QStringLiteral(TUVEL_APP_DIR "/kox");
    if (!QFileInfo(kox).isExecutable())
        QSKIP("kox is not built");
    const QString program = m_dir.filePath("real");
    QVERIFY(QDir().mkpath(program + "/tuveldbox"));
    QVERIFY(QFile::link(kox, program + "/kox"));
    const QString dataFile = program + "/tuveldbox/list with blank.txt";
    QFile f(dataFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("n\r\nd\r\nhttp://127.0.0.1:1/list.txt\r\n");
    f.close();

    TestWindow *w = makeWindow(program);
    QCOMPARE(catalogueModel(*w)->count(), 1);
    chooseMenuItem(*w, "mnuEditDataUpdaate");
    QVERIFY(w->messages.isEmpty());

    // Its window appears, captioned with its version text.
    QString found;
    for (int i = 0; i < 100 && found.isEmpty(); ++i) {
        QProcess search;
        search.start("xdotool", {"search", "--name", "^kox ver"});
        search.waitForFinished(5000);
        found = QString::fromUtf8(search.readAllStandardOutput()).trimmed();
        if (found.isEmpty())
            QTest::qWait(100);
    }
    QProcess::execute("pkill", {"-f", program + "/kox"});
    QVERIFY2(!found.isEmpty(), "no kox window appeared");
}

// The desktop's association for text files and folders points at the recorder.
void TestCommandsDesktop::associateRecorder()
{
    const QString data = m_dir.filePath("xdg-data");
    const QString config = m_dir.filePath("xdg-config");
    QVERIFY(QDir().mkpath(data + "/applications"));
    QVERIFY(QDir().mkpath(config));
    QFile desktop(data + "/applications/recorder.desktop");
    QVERIFY(desktop.open(QIODevice::WriteOnly));
    desktop.write("[Desktop Entry]\nType=Application\nName=Recorder\nExec=" TUVEL_ARGRECORDER
                  " %f\nMimeType=text/plain;inode/directory;\n");
    desktop.close();
    QFile mimeapps(config + "/mimeapps.list");
    QVERIFY(mimeapps.open(QIODevice::WriteOnly));
    mimeapps.write("[Default Applications]\ntext/plain=recorder.desktop\ninode/directory=recorder.desktop\n");
    mimeapps.close();
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    QFile::remove(m_log);
}

void TestCommandsDesktop::openerGetsThePathWhole()
{
    if (QStandardPaths::findExecutable("xdg-open").isEmpty())
        QSKIP("xdg-open is not installed");
    associateRecorder();
    if (QTest::currentTestFailed())
        return;

    const QString program = m_dir.filePath("open");
    QVERIFY(QDir().mkpath(program + "/tuveldbox"));
    const QString dataFile = program + "/tuveldbox/" + hostileName;
    QFile f(dataFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("n\r\n");
    f.close();

    TestWindow *w = makeWindow(program);
    QCOMPARE(catalogueModel(*w)->count(), 1);
    chooseMenuItem(*w, "mnuViewOpenDataFile");
    QStringList lines = recorded(m_log, 1);
    QCOMPARE(lines, (QStringList{"---", dataFile}));
    chooseMenuItem(*w, "mnuViewOpenDataDir");
    lines = recorded(m_log, 2);
    QCOMPARE(lines.mid(2), (QStringList{"---", program + "/tuveldbox/"}));
    QTest::qWait(200);
    QVERIFY(!QFile::exists(program + "/tuveldbox/PWNED"));
    QVERIFY(!QFile::exists(m_dir.filePath("PWNED")));
}

// The opener gets the very bytes of a data box file name that is not valid UTF-8.
void TestCommandsDesktop::openerGetsANameThatIsNotUtf8()
{
    if (QStandardPaths::findExecutable("xdg-open").isEmpty())
        QSKIP("xdg-open is not installed");
    associateRecorder();
    if (QTest::currentTestFailed())
        return;
    const QString program = m_dir.filePath("bytes");
    QVERIFY(QDir().mkpath(program + "/tuveldbox"));
    const QByteArray dataFile = QFile::encodeName(program) + "/tuveldbox/bad\xff\xfe name.txt";
    QFile f;
    QVERIFY(f.open(::fopen(dataFile.constData(), "wb"), QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    f.write("n\r\n");
    f.close();
    const auto removeFile = qScopeGuard([&] { ::unlink(dataFile.constData()); });  // QTemporaryDir cannot

    TestWindow *w = makeWindow(program);
    QCOMPARE(catalogueModel(*w)->count(), 1);
    chooseMenuItem(*w, "mnuViewOpenDataFile");
    recorded(m_log, 1);
    QFile log(m_log);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), "---\n" + dataFile + "\n");
}

QTEST_MAIN(TestCommandsDesktop)
#include "tst_commands_desktop.moc"
