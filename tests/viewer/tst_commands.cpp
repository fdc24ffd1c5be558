// Menu and command-bar routing, view and grid states, the about command, and the
// commands that hand a data file to the updater or the desktop's opener.
#include "catalogue/cataloguemodel.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "testwindow.h"
#include "fakeservices.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

void writeCp932(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuButtonsOpenTheirMenus_data();
    void menuButtonsOpenTheirMenus();
    void menuTreeCaptions();
    void commandButtons();
    void viewSelectMovesTheMark();
    void gridTogglesBothLists();
    void aboutSelectsTheAboutList_data();
    void aboutSelectsTheAboutList();
    void updateLaunch_data();
    void updateLaunch();
    void updateLaunchOnEmptyCatalogue();
    void updateLaunchWhenKoxCannotStart();
    void openDataFileAndBox();
    void tabWalksTheLists_data();
    void tabWalksTheLists();
    void menusByAccessKey_data();
    void menusByAccessKey();

private:
    void showActive();
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<platform::fake::FakeServiceSet> m_fakes;
    std::unique_ptr<TestWindow> m_window;
};

void TestCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("tuveldbox")));
    m_fakes = std::make_unique<platform::fake::FakeServiceSet>();
    m_window = std::make_unique<TestWindow>(m_fakes->services(), testAppInfo(m_dir->path()));
}

void TestCommands::cleanup()
{
    m_window.reset();
    m_fakes.reset();
    m_dir.reset();
}

void TestCommands::menuButtonsOpenTheirMenus_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("popups");
    QTest::newRow("File") << "File" << QStringList{"mnuFile"};
    QTest::newRow("Edit") << "Edit" << QStringList{"mnuEdit"};
    QTest::newRow("View") << "View" << QStringList{"mnuView"};
    QTest::newRow("Help") << "Help" << QStringList{"mnuHelp"};
    QTest::newRow("letter case counts") << "file" << QStringList{};
    QTest::newRow("caption is not a key") << QString::fromUtf8("ファイル") << QStringList{};
    QTest::newRow("no key") << "" << QStringList{};
}

void TestCommands::menuButtonsOpenTheirMenus()
{
    QFETCH(QString, key);
    QFETCH(QStringList, popups);
    m_window->menuButtons()->press(key);
    QCOMPARE(m_window->popups, popups);
}

void TestCommands::menuTreeCaptions()
{
    // Each menu's items in order; "-" stands for a separator.
    const QList<QPair<QString, QStringList>> tree = {
        {"mnuFile", {"リストを展開(&L)", "-", "終了(&X)"}},
        {"mnuEdit", {"コピー(&C)", "直接出力(&B)", "-", "データをアップデートする(&U)..."}},
        {"mnuView",
         {"詳細(&D)", "リスト(&L)", "-", "グリッド(&G)", "-", "データファイルを開く(&N)", "データボックスを開く(&M)"}},
        {"mnuHelp", {"このソフトウェアについて(&A)..."}},
    };
    for (const auto &[name, captions] : tree) {
        auto *menu = m_window->findChild<QMenu *>(name);
        QVERIFY2(menu, qPrintable(name));
        QStringList seen;
        for (QAction *a : menu->actions())
            seen.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(seen, captions);
    }
    auto *copy = m_window->findChild<QAction *>("mnuEditCopy");
    auto *send = m_window->findChild<QAction *>("mnuEditSendKey");
    QCOMPARE(copy->shortcut(), QKeySequence("Ctrl+C"));
    QCOMPARE(send->shortcut(), QKeySequence("Ctrl+B"));
}

void TestCommands::commandButtons()
{
    // Every command button has a tool tip (its accessible name) and a 16 × 16 picture;
    // separators carry no key.
    auto *bar = m_window->findChild<QToolBar *>("Toolbar4");
    QStringList keys, tips;
    for (QAction *a : bar->actions()) {
        keys.append(a->isSeparator() ? QStringLiteral("-") : a->data().toString());
        if (!a->isSeparator()) {
            tips.append(a->toolTip());
            QVERIFY(!a->icon().pixmap(16, 16).isNull());
            QCOMPARE(bar->widgetForAction(a)->accessibleName(), a->toolTip());
        }
    }
    QCOMPARE(keys, (QStringList{"DataOpen", "-", "ClipCopy", "SendKey", "-", "UpData"}));
    QCOMPARE(tips, (QStringList{"リストを展開", "コピー", "直接出力", "データをアップデートする"}));

    // "DataOpen" rebuilds the catalogue from disk: a row added by hand disappears.
    m_window->catalogue()->AddListRow("x", "", "", "/nowhere", "", 0xFFFFFF);
    pressButton(*m_window, "Toolbar4", "DataOpen");
    QCOMPARE(catalogueModel(*m_window)->count(), 0);
    // A separator (no key) and an unknown key do nothing.
    m_window->commandButtons()->press(QString());
    m_window->commandButtons()->press("dataopen");
    QVERIFY(m_fakes->processStarter.calls.isEmpty());
}

void TestCommands::viewSelectMovesTheMark()
{
    auto *details = m_window->findChild<QAction *>("mnuViewSelect1");
    auto *list = m_window->findChild<QAction *>("mnuViewSelect2");
    // Start-up chose the details view.
    QVERIFY(details->isChecked());
    QVERIFY(!list->isChecked());
    QCOMPARE(listView2(*m_window)->view(), int(KeyListView::DetailsView));

    list->trigger();
    QVERIFY(!details->isChecked());
    QVERIFY(list->isChecked());
    QCOMPARE(listView2(*m_window)->view(), int(KeyListView::ListView));

    details->trigger();
    QVERIFY(details->isChecked());
    QVERIFY(!list->isChecked());
    QCOMPARE(listView2(*m_window)->view(), int(KeyListView::DetailsView));

    // An index outside 1..2 clears both marks and changes no view.
    m_window->viewOptions()->select(KeyListLook(3));
    QVERIFY(!details->isChecked() && !list->isChecked());
    QCOMPARE(listView2(*m_window)->view(), int(KeyListView::DetailsView));
}

void TestCommands::gridTogglesBothLists()
{
    auto *grid = m_window->findChild<QAction *>("mnuViewGrid");
    QVERIFY(!grid->isChecked());
    QVERIFY(!listView1(*m_window)->showGrid());
    grid->trigger();
    QVERIFY(grid->isChecked());
    QVERIFY(listView1(*m_window)->showGrid());
    QVERIFY(listView2(*m_window)->gridLines());
    m_window->viewOptions()->toggleGrid();
    QVERIFY(!grid->isChecked());
    QVERIFY(!listView1(*m_window)->showGrid());
    QVERIFY(!listView2(*m_window)->gridLines());
}

void TestCommands::aboutSelectsTheAboutList_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("expectedRow");  // -1: the current row stays
    QTest::newRow("present") << QStringList{"挨拶", "記号", "このソフトウェアについて"} << 2;
    QTest::newRow("first of two") << QStringList{"このソフトウェアについて", "x", "このソフトウェアについて"} << 0;
    QTest::newRow("absent") << QStringList{"挨拶", "記号"} << -1;
    QTest::newRow("empty catalogue") << QStringList{} << -1;
}

void TestCommands::aboutSelectsTheAboutList()
{
    QFETCH(QStringList, names);
    QFETCH(int, expectedRow);
    const QString dataBox = m_dir->path() + "/tuveldbox/";
    for (int i = 0; i < names.size(); ++i) {
        const QString path = dataBox + QString::number(i) + ".txt";
        writeCp932(path, "n\r\nd\r\n\r\nkey" + QByteArray::number(i) + "\r\n");
        m_window->catalogue()->AddListRow(names[i], "d", "", path, "", 0xFFFFFF);
    }
    if (!names.isEmpty())
        setCurrentCatalogueRow(*m_window, 1);
    chooseMenuItem(*m_window, "mnuHelpAbout");
    QCOMPARE(m_window->aboutWindows, 1);
    if (expectedRow >= 0) {
        QCOMPARE(currentCatalogueRow(*m_window), expectedRow);
        QCOMPARE(keyListModel(*m_window)->count(), 1);
        QCOMPARE(keyListModel(*m_window)->row(0).text, "key" + QString::number(expectedRow));
    } else {
        QCOMPARE(currentCatalogueRow(*m_window), names.isEmpty() ? -1 : 1);
        QCOMPARE(keyListModel(*m_window)->count(), 0);
    }
}

// clang-format off
void TestCommands::updateLaunch_data()
{
    QTest::addColumn<QString>("location");  // "@" stands for the data box folder
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QString>("commandLine");  // empty: no launch, the message instead

    QTest::newRow("data box list") << "@/a.txt" << "http://127.0.0.1:8080/a.txt" << true
                                   << "kox.exe \"@/a.txt\" http://127.0.0.1:8080/a.txt";
    QTest::newRow("relative registered path, as written") << "lists/b b.txt" << "http://h/b" << true
                                                          << "kox.exe \"lists/b b.txt\" http://h/b";
    QTest::newRow("address with blanks, bare") << "@/a.txt" << "http://h/a b  c" << true
                                               << "kox.exe \"@/a.txt\" http://h/a b  c";
    QTest::newRow("shell characters stay data") << "@/x;$(touch y)&`id`|z.txt" << "http://h/?a=1&b=$(id)" << true
                                                << "kox.exe \"@/x;$(touch y)&`id`|z.txt\" http://h/?a=1&b=$(id)";
    QTest::newRow("missing file") << "@/gone.txt" << "http://h/a" << false << "";
    QTest::newRow("empty address") << "@/a.txt" << "" << true << "";
}
// clang-format on

void TestCommands::updateLaunch()
{
    QFETCH(QString, location);
    QFETCH(QString, address);
    QFETCH(bool, fileExists);
    QFETCH(QString, commandLine);
    const QString dataBox = m_dir->path() + "/tuveldbox";
    location.replace("@", dataBox);
    commandLine.replace("@", dataBox);
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());  // relative registered paths resolve here
    if (fileExists) {
        QDir().mkpath(QFileInfo(location).absolutePath());
        writeCp932(location, "n\r\n");
    }
    m_window->keyList()->AddKeyRow("old key", false);
    m_window->catalogue()->AddListRow("n", "d", "", location, address, 0x0000FF);
    setCurrentCatalogueRow(*m_window, 0);

    chooseMenuItem(*m_window, "mnuEditDataUpdaate");
    QDir::setCurrent(cwd);

    const KeyListModel *keys = keyListModel(*m_window);
    if (commandLine.isEmpty()) {
        QCOMPARE(m_window->messages, QStringList{"アップデート情報に誤りがあります。"});
        QVERIFY(m_fakes->processStarter.calls.isEmpty());
        QCOMPARE(keys->count(), 1);
        QCOMPARE(keys->row(0).text, "old key");
    } else {
        QVERIFY(m_window->messages.isEmpty());
        QCOMPARE(m_fakes->processStarter.calls.size(), 1);
        QCOMPARE(m_fakes->processStarter.calls[0].commandLine, commandLine);
        QCOMPARE(m_fakes->processStarter.calls[0].programDir, m_dir->path());
        QCOMPARE(keys->count(), 2);
        QCOMPARE(keys->row(0).text, "ファイルのアップデートを選択されました。");
        QCOMPARE(keys->row(1).text, "プロセスの終了後、再度リストビュー(←)を更新してください。");
        QVERIFY(keys->row(0).bold && keys->row(1).bold);
    }
}

void TestCommands::updateLaunchOnEmptyCatalogue()
{
    chooseMenuItem(*m_window, "mnuEditDataUpdaate");
    QVERIFY(m_window->messages.isEmpty());
    QVERIFY(m_fakes->processStarter.calls.isEmpty());
}

void TestCommands::updateLaunchWhenKoxCannotStart()
{
    const QString path = m_dir->path() + "/tuveldbox/a.txt";
    writeCp932(path, "n\r\n");
    m_window->catalogue()->AddListRow("n", "d", "", path, "http://h/a", 0xFFFFFF);
    setCurrentCatalogueRow(*m_window, 0);
    m_fakes->processStarter.failing = true;
    chooseMenuItem(*m_window, "mnuEditDataUpdaate");
    QCOMPARE(m_window->messages, QStringList{"アップデートプログラム (kox) を起動できませんでした。"});
}

void TestCommands::openDataFileAndBox()
{
    const QString dataBox = m_dir->path() + "/tuveldbox/";
    // Empty catalogue: the data file command does nothing, the data box command runs.
    chooseMenuItem(*m_window, "mnuViewOpenDataFile");
    QVERIFY(m_fakes->documentOpener.opened.isEmpty());
    chooseMenuItem(*m_window, "mnuViewOpenDataDir");
    QCOMPARE(m_fakes->documentOpener.opened, QStringList{dataBox});

    // Neither command checks the path; a blank in it reaches the opener whole.
    m_window->catalogue()->AddListRow("a", "", "", "lists/with blank & more.txt", "", 0x0000FF);
    m_window->catalogue()->AddListRow("b", "", "", dataBox + "b.txt", "", 0xFFFFFF);
    setCurrentCatalogueRow(*m_window, 0);
    chooseMenuItem(*m_window, "mnuViewOpenDataFile");
    setCurrentCatalogueRow(*m_window, 1);
    chooseMenuItem(*m_window, "mnuViewOpenDataFile");
    chooseMenuItem(*m_window, "mnuViewOpenDataDir");
    QCOMPARE(m_fakes->documentOpener.opened,
             (QStringList{dataBox, "lists/with blank & more.txt", dataBox + "b.txt", dataBox}));
}

void TestCommands::showActive()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestCommands::tabWalksTheLists_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QStringList>("focused");
    QTest::newRow("Tab") << Qt::KeyboardModifiers() << QStringList{"項目", "キー", "リスト", "項目"};
    QTest::newRow("Shift+Tab") << Qt::KeyboardModifiers(Qt::ShiftModifier)
                               << QStringList{"キー", "項目", "リスト", "キー"};
}

// From the catalogue, where the keyboard starts, round the three lists and no further.
void TestCommands::tabWalksTheLists()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QStringList, focused);
    // Rows and columns in both lists: a table may take Tab for moving between cells.
    QFile list(m_dir->filePath("tuveldbox/a.txt"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("A\r\nd\r\nu\r\n#[h]\r\none\r\ntwo\r\n");
    list.close();
    chooseMenuItem(*m_window, "mnuFileListOpen");
    doubleClickCatalogue(*m_window);
    QCOMPARE(keyListModel(*m_window)->count(), 3);
    showActive();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(listView1(*m_window)));
    QStringList walked;
    for (int i = 0; i < focused.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        walked.append(QApplication::focusWidget() ? QApplication::focusWidget()->accessibleName() : QString());
    }
    QCOMPARE(walked, focused);
}

void TestCommands::menusByAccessKey_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("menu");
    QTest::newRow("Alt+F") << Qt::Key_F << "mnuFile";
    QTest::newRow("Alt+E") << Qt::Key_E << "mnuEdit";
    QTest::newRow("Alt+V") << Qt::Key_V << "mnuView";
    QTest::newRow("Alt+H") << Qt::Key_H << "mnuHelp";
}

void TestCommands::menusByAccessKey()
{
    QFETCH(Qt::Key, key);
    QFETCH(QString, menu);
    showActive();
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    QCOMPARE(m_window->popups, QStringList{menu});
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
