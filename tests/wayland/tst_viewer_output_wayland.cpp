// Direct output on a wlroots Wayland session (headless sway, scripts/with-sway.sh): the
// viewer is an X11 window on XWayland, the windows the user worked in are native
// Wayland ones. The key must arrive exactly in the window active before the viewer
// (not in an older one), and the viewer must be active again afterwards.
//
// The viewer is an FMain in this process with the native services, the very objects
// tuvelv's main() builds; the keys are picked through its own handlers.
#include "catalogue/cataloguelist.h"
#include "catalogue/cataloguemodel.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistpane.h"
#include "catalogue/keylistview.h"
#include "chrome/ftitle.h"
#include "main/fmain.h"
#include "output/keyoutput.h"
#include "cp932.h"
#include "services.h"
#include "waylandsession.h"
#include "sinkdriver.h"
#include "../viewer/testwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using platform::wayland::ActivationHistory;
using platform::wayland::Session;

namespace {

QString longText()
{
    QString text;
    while (text.size() < 150)
        text += QStringLiteral("東京都千代田区丸の内１丁目ｶﾀｶﾅ、ひらがな。");
    return text.left(150);
}

struct KeyCase {
    const char *name;
    QString line;      // the key line of the data file
    QString received;  // what the window must get
};

QList<KeyCase> keyCases()
{
    return {
        {"japanese", QStringLiteral("こんにちは、世界！ｶﾀｶﾅ～"), QStringLiteral("こんにちは、世界！ｶﾀｶﾅ～")},
        {"half-width kana", QStringLiteral("ｶﾀｶﾅﾃﾞｽ｡"), QStringLiteral("ｶﾀｶﾅﾃﾞｽ｡")},
        {"full-width symbols", QStringLiteral("～＋（）％＾＃＠！"), QStringLiteral("～＋（）％＾＃＠！")},
        {"ascii reserved", QStringLiteral("a+b^c%d~e(f)G"), QStringLiteral("a+b^c%d~e(f)G")},
        {"tab and enter keys", QStringLiteral("氏名{TAB}山田{ENTER}次の行"), QStringLiteral("氏名\t山田\n次の行")},
        {"150 characters", longText(), longText()},
        {"same key again", QStringLiteral("こんにちは、世界！ｶﾀｶﾅ～"), QStringLiteral("こんにちは、世界！ｶﾀｶﾅ～")},
    };
}

}  // namespace

class TestViewerOutputWayland : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void typesIntoTheWindowBeforeAndComesBack_data();
    void typesIntoTheWindowBeforeAndComesBack();
    void programIsAnXWaylandWindow();

private:
    QTemporaryDir m_programFolder;
    std::unique_ptr<TypingSink> m_older;   // active before the target: must get nothing
    std::unique_ptr<TypingSink> m_target;  // the window the user worked in
    std::unique_ptr<platform::ServiceSet> m_services;
    TestWindow *m_window = nullptr;
    std::unique_ptr<Session> m_watcher;  // the compositor's view of which window is active
    ActivationHistory::Window m_targetWindow = nullptr;
    ActivationHistory::Window m_viewerWindow = nullptr;

    ActivationHistory::Window activeWindow()
    {
        m_watcher->roundtrip();
        return m_watcher->history().active();
    }
};

void TestViewerOutputWayland::initTestCase()
{
    m_watcher = Session::connect();
    if (!m_watcher || !m_watcher->hasToplevelList() || qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the headless sway of scripts/with-sway.sh");
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));

    QVERIFY(QDir(m_programFolder.path()).mkpath(QStringLiteral("tuveldbox")));
    QStringList lines{QStringLiteral("出力試験"), QStringLiteral("Wayland への直接出力"), QString()};
    for (const KeyCase &k : keyCases())
        lines.append(k.line);
    const QByteArray bytes = common::cp932::encode(lines.join(QStringLiteral("\r\n")));
    QFile data(m_programFolder.filePath(QStringLiteral("tuveldbox/keys.txt")));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write(bytes);
    data.close();

    // The viewer's services are made first, as tuvelv makes them at start, so that they
    // see the windows become active one after the other.
    m_services = platform::createNativeServices();
    QString why;
    m_older = std::make_unique<TypingSink>(QStringLiteral("wayland"));
    QVERIFY2(m_older->start(&why), qPrintable(why));
    QTRY_VERIFY(activeWindow() != nullptr);
    const ActivationHistory::Window older = activeWindow();
    m_target = std::make_unique<TypingSink>(QStringLiteral("wayland"));
    QVERIFY2(m_target->start(&why), qPrintable(why));
    QTRY_VERIFY(activeWindow() != older && activeWindow() != nullptr);
    m_targetWindow = activeWindow();

    common::AppInfo app{m_programFolder.path(), QStringLiteral("tuvelv"), 1, 0, 40};
    m_window = new TestWindow(m_services->services(), app);
    if (FTitle *splash = m_window->splash())
        splash->close();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QTRY_VERIFY(activeWindow() != m_targetWindow && activeWindow() != nullptr);
    m_viewerWindow = activeWindow();
    QVERIFY(m_viewerWindow != older);

    QCOMPARE(m_window->catalogue()->model()->count(), 1);
    m_window->catalogue()->setCurrentRow(0);
    m_window->keyList()->openCurrentList();  // a double-click on the catalogue row
    QCOMPARE(m_window->keyList()->model()->count(), int(keyCases().size()));
}

void TestViewerOutputWayland::cleanupTestCase()
{
    delete m_window;
    m_target.reset();
    m_older.reset();
    m_services.reset();
    m_watcher.reset();
}

void TestViewerOutputWayland::typesIntoTheWindowBeforeAndComesBack_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    const QList<KeyCase> cases = keyCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name) << i << cases[i].received;
}

void TestViewerOutputWayland::typesIntoTheWindowBeforeAndComesBack()
{
    QFETCH(int, row);
    QFETCH(QString, expected);
    QCOMPARE(activeWindow(), m_viewerWindow);
    const QString before = m_target->text();
    m_window->keyList()->view()->setCurrentRow(row);
    m_window->keyOutput()->sendCurrentKey();  // Ctrl+B, the "SendKey" button
    QCOMPARE(m_window->messages, QStringList());
    QCOMPARE(m_target->waitForText(before + expected, 5000), before + expected);
    QCOMPARE(m_older->text(), QString());
    QTRY_COMPARE(activeWindow(), m_viewerWindow);
}

// tuvelv itself, started as on a Wayland login: its window must be an X11 one, where it
// may place itself and stay on top.
void TestViewerOutputWayland::programIsAnXWaylandWindow()
{
    const QString program = QStringLiteral(TUVEL_APP_DIR "/tuvelv");
    QVERIFY(QFile::exists(program));
    QProcess viewer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    viewer.setProcessEnvironment(environment);
    viewer.start(program, {});
    QVERIFY(viewer.waitForStarted(5000));
    const QString pid = QStringLiteral("\"pid\": %1,").arg(viewer.processId());
    QString shell;
    for (int round = 0; round < 100 && shell.isEmpty(); ++round) {
        QProcess tree;
        tree.start(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree"), QStringLiteral("-r")});
        tree.waitForFinished(5000);
        const QString json = QString::fromUtf8(tree.readAllStandardOutput());
        const qsizetype at = json.indexOf(pid);
        if (at >= 0) {
            const qsizetype from = json.indexOf(QStringLiteral("\"shell\": \""), at);
            shell = json.mid(from + 10, json.indexOf(u'"', from + 10) - from - 10);
        }
        QTest::qWait(100);
    }
    viewer.terminate();
    if (!viewer.waitForFinished(3000))
        viewer.kill();
    viewer.waitForFinished(1000);
    QCOMPARE(shell, QStringLiteral("xwayland"));
}

int main(int argc, char **argv)
{
    // The viewer is an X11 window, on XWayland, as tuvelv runs on a Wayland session.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestViewerOutputWayland test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_viewer_output_wayland.moc"
