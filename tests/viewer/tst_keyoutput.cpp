// The key list and key output of the main window, with recording platform fakes.
#include "catalogue/cataloguemodel.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "testwindow.h"
#include "fakeservices.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList altTab{"key 18 0", "key 9 0", "key 9 2", "key 18 2", "sleep 100"};
using platform::fake::RecordingKeyTyper;
QString typedLine(const QString &keyString) { return RecordingKeyTyper::typedLine(keyString); }

}  // namespace

class TestKeyOutput : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void catalogueDoubleClickLoadsKeys();
    void missingOrEmptyList_data();
    void missingOrEmptyList();
    void emptyCatalogueDoubleClick();
    void headingJump_data();
    void headingJump();
    void directOutput_data();
    void directOutput();
    void consecutiveOutputs();
    void directOutputWithoutRows();
    void directOutputWithoutCurrentRow();
    void refusedKeyString();
    void doubleClickOnEmptyArea();
    void copy_data();
    void copy();
    void copyWithoutRowsOrCurrent();
    void copyFailure();
    void shortcuts_data();
    void shortcuts();

private:
    QString writeList(const QString &fileName, const QByteArray &bytes);
    // Opens the list at path the way the user does: catalogue row, then double-click.
    void openList(const QString &path);
    void showActive();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<platform::fake::FakeServiceSet> m_fakes;
    std::unique_ptr<TestWindow> m_window;
};

void TestKeyOutput::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkdir("tuveldbox"));
    m_fakes = std::make_unique<platform::fake::FakeServiceSet>();
    m_fakes->keyTyper.sharedLog = &m_fakes->keyEvents.log;
    m_window = std::make_unique<TestWindow>(m_fakes->services(), testAppInfo(m_dir->path()));
}

void TestKeyOutput::cleanup()
{
    m_window.reset();
    m_fakes.reset();
    m_dir.reset();
}

QString TestKeyOutput::writeList(const QString &fileName, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(fileName);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(bytes);
    return path;
}

void TestKeyOutput::openList(const QString &path)
{
    m_window->catalogue()->AddListRow(QStringLiteral("row"), {}, {}, path, {}, 0xFFFFFF);
    setCurrentCatalogueRow(*m_window, catalogueModel(*m_window)->count() - 1);
    doubleClickCatalogue(*m_window);
}

void TestKeyOutput::showActive()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestKeyOutput::catalogueDoubleClickLoadsKeys()
{
    // "%1" in a name is text: the count must not take its place.
    openList(writeList("tuveldbox/keys.txt", "L%1\r\nd\r\nu\r\n#[A]\r\nx\r\n#[B]\r\ny\r\n"));
    KeyListModel *keys = keyListModel(*m_window);
    QCOMPARE(keys->count(), 4);
    QStringList texts, bold;
    for (int i = 0; i < keys->count(); ++i) {
        const QModelIndex index = keys->index(i, 0);
        texts.append(index.data().toString());
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), texts.last());
        if (index.data(Qt::FontRole).value<QFont>().bold())
            bold.append(texts.last());
    }
    QCOMPARE(texts, (QStringList{"#[A]", "x", "#[B]", "y"}));
    QCOMPARE(bold, (QStringList{"#[A]", "#[B]"}));
    QCOMPARE(listView2(*m_window)->detailsView()->model()->headerData(0, Qt::Horizontal).toString(),
             QString::fromUtf8("キー (L%1)"));
    QCOMPARE(announced(*m_window), QString::fromUtf8("「L%1」を開きました。キー 4 個"));
    QComboBox *combo = combo1(*m_window);
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QString("#[A]"));
    QCOMPARE(combo->itemText(1), QString("#[B]"));
    // The status bar belongs to the catalogue code; once it fills the panels, check them.
    if (!panelText(*m_window, "list").isEmpty())
        QCOMPARE(panelText(*m_window, "key"), QString("all 4 keys"));
}

void TestKeyOutput::missingOrEmptyList_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("headings");
    QTest::addColumn<QString>("heading");
    QTest::newRow("missing file changes nothing") << false << 2 << 1 << QString::fromUtf8("キー (old)");
    QTest::newRow("three-line file empties the lists") << true << 0 << 0 << QString::fromUtf8("キー (three)");
}

void TestKeyOutput::missingOrEmptyList()
{
    QFETCH(bool, fileExists);
    QFETCH(int, rows);
    QFETCH(int, headings);
    QFETCH(QString, heading);
    openList(writeList("old.txt", "old\r\nd\r\nu\r\n#[h]\r\nk\r\n"));
    const QString path = fileExists ? writeList("three.txt", "three\r\nd\r\nu\r\n") : m_dir->filePath("gone.txt");
    openList(path);
    QCOMPARE(keyListModel(*m_window)->count(), rows);
    QCOMPARE(combo1(*m_window)->count(), headings);
    QCOMPARE(keyListModel(*m_window)->heading(), heading);
    if (fileExists && !panelText(*m_window, "list").isEmpty())
        QCOMPARE(panelText(*m_window, "key"), QString("all - keys"));
}

void TestKeyOutput::emptyCatalogueDoubleClick()
{
    QCOMPARE(catalogueModel(*m_window)->count(), 0);
    m_window->keyList()->AddKeyRow(QStringLiteral("kept"), false);
    doubleClickCatalogue(*m_window);
    QCOMPARE(keyListModel(*m_window)->count(), 1);
}

void TestKeyOutput::headingJump_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("found");
    QTest::addColumn<bool>("atTop");  // false: within the last screenful
    QTest::newRow("heading far above the end") << "#[B]" << 50 << true;
    QTest::newRow("duplicate heading jumps to its first row") << "#[A]" << 10 << true;
    QTest::newRow("letter case counts") << "#[b]" << 120 << true;
    QTest::newRow("heading near the end stays put") << "#[Z]" << 198 << false;
    QTest::newRow("heading no longer in the list") << "#[gone]" << -1 << false;
}

void TestKeyOutput::headingJump()
{
    QFETCH(QString, chosen);
    QFETCH(int, found);
    QFETCH(bool, atTop);
    QByteArray bytes("L\r\nd\r\nu\r\n");
    for (int i = 0; i < 200; ++i) {
        QByteArray key = "key " + QByteArray::number(i);
        if (i == 10 || i == 150)
            key = "#[A]";
        else if (i == 50)
            key = "#[B]";
        else if (i == 120)
            key = "#[b]";
        else if (i == 198)
            key = "#[Z]";
        bytes += key + "\r\n";
    }
    openList(writeList("long.txt", bytes));
    showActive();
    KeyListView *list = listView2(*m_window);
    list->setCurrentRow(3);
    m_window->keyList()->jumpToHeading(chosen);
    QCOMPARE(list->currentRow(), 3);
    QTableView *view = list->detailsView();
    const int bottomRow = view->rowAt(view->viewport()->height() - 1);
    if (atTop) {
        QCOMPARE(view->rowAt(0), found);
        return;
    }
    // The list was scrolled to its end and, if found, the row is in that last screenful.
    QVERIFY(bottomRow == -1 || bottomRow >= keyListModel(*m_window)->count() - 2);
    if (found >= 0)
        QVERIFY(view->rowAt(0) < found);
}

void TestKeyOutput::directOutput_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::newRow("escaped key") << 1 << "a{+}b{(}c{)}";
    QTest::newRow("heading is sent like a key") << 0 << "#[A]";
    QTest::newRow("empty key: switch, nothing typed") << 2 << "";
    QTest::newRow("full-width and braces") << 3 << QString::fromUtf8("{（}株{）}{x}");
}

void TestKeyOutput::directOutput()
{
    QFETCH(int, row);
    QFETCH(QString, typed);
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\n#[A]\r\na+b(c)\r\n\r\n\x81\x69\x8a\x94\x81\x6a{x}\r\n"));
    showActive();
    combo1(*m_window)->setFocus();
    listView2(*m_window)->setCurrentRow(row);
    doubleClickKey(*m_window);
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{typedLine(typed)});
    for (const auto &e : m_fakes->keyEvents.events) {
        QCOMPARE(e.scanCode, quint8(0));
        QCOMPARE(e.extraInfo, quintptr(0));
    }
    QCOMPARE(m_fakes->keyTyper.calls.size(), 1);
    QVERIFY(m_fakes->keyTyper.calls.first().wait);
    QVERIFY(m_window->messages.isEmpty());
    QVERIFY(listView2(*m_window)->activeView()->hasFocus());
    QCOMPARE(listView2(*m_window)->currentRow(), row);
}

void TestKeyOutput::consecutiveOutputs()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\none\r\n2%\r\n"));
    listView2(*m_window)->setCurrentRow(1);
    doubleClickKey(*m_window);
    listView2(*m_window)->setCurrentRow(0);
    chooseMenuItem(*m_window, "mnuEditSendKey");
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{typedLine("2{%}")} + altTab + QStringList{typedLine("one")});
}

void TestKeyOutput::directOutputWithoutRows()
{
    doubleClickKey(*m_window);
    chooseMenuItem(*m_window, "mnuEditSendKey");
    QVERIFY(m_fakes->keyEvents.log.isEmpty());
    QVERIFY(m_fakes->keyTyper.calls.isEmpty());
}

void TestKeyOutput::directOutputWithoutCurrentRow()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nk\r\n"));
    // A freshly loaded list has its first key current; take that away.
    QCOMPARE(listView2(*m_window)->currentRow(), 0);
    listView2(*m_window)->setCurrentRow(-1);
    QCOMPARE(listView2(*m_window)->currentRow(), -1);
    doubleClickKey(*m_window);
    QCOMPARE(m_fakes->keyEvents.log, altTab);
    QVERIFY(m_fakes->keyTyper.calls.isEmpty());
}

// A key that reads well but that the typer refuses (say, no keycode to type it on).
void TestKeyOutput::refusedKeyString()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\ngood\r\n"));
    showActive();
    m_fakes->keyTyper.refuseWith = QStringLiteral("no spare keycode");
    listView2(*m_window)->setCurrentRow(0);
    combo1(*m_window)->setFocus();
    doubleClickKey(*m_window);
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{typedLine("good")});
    QCOMPARE(m_window->messages.size(), 1);
    QVERIFY(m_window->messages.first().contains("no spare keycode"));
    QVERIFY(listView2(*m_window)->activeView()->hasFocus());
}

void TestKeyOutput::doubleClickOnEmptyArea()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nfirst\r\nsecond\r\n"));
    showActive();
    KeyListView *list = listView2(*m_window);
    list->setCurrentRow(1);
    QWidget *viewport = list->detailsView()->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{typedLine("second")});
}

void TestKeyOutput::copy_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("copied");
    QTest::newRow("reserved characters unchanged") << 1 << "a+(b){c}%";
    QTest::newRow("heading") << 0 << "#[A]";
    QTest::newRow("empty key") << 2 << "";
}

void TestKeyOutput::copy()
{
    QFETCH(int, row);
    QFETCH(QString, copied);
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\n#[A]\r\na+(b){c}%\r\n\r\n"));
    listView2(*m_window)->setCurrentRow(row);
    m_window->keyList()->jumpToHeading(QStringLiteral("#[A]"));  // only scrolls
    chooseMenuItem(*m_window, "mnuEditCopy");
    QCOMPARE(m_fakes->clipboard.texts, QStringList{copied});
    QVERIFY(m_fakes->keyEvents.log.isEmpty());
}

void TestKeyOutput::copyWithoutRowsOrCurrent()
{
    chooseMenuItem(*m_window, "mnuEditCopy");
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nk\r\n"));
    listView2(*m_window)->setCurrentRow(-1);
    chooseMenuItem(*m_window, "mnuEditCopy");  // rows, none current
    QVERIFY(m_fakes->clipboard.texts.isEmpty());
    QVERIFY(m_window->messages.isEmpty());
}

void TestKeyOutput::copyFailure()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nk\r\n"));
    listView2(*m_window)->setCurrentRow(0);
    m_fakes->clipboard.failing = true;
    chooseMenuItem(*m_window, "mnuEditCopy");
    QCOMPARE(m_window->messages.size(), 1);
}

void TestKeyOutput::shortcuts_data()
{
    QTest::addColumn<int>("viewCode");
    QTest::newRow("details view") << int(KeyListView::DetailsView);
    QTest::newRow("list view") << int(KeyListView::ListView);
}

void TestKeyOutput::shortcuts()
{
    QFETCH(int, viewCode);
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nx+y\r\n"));
    showActive();
    KeyListView *list = listView2(*m_window);
    list->setView(viewCode);
    list->setCurrentRow(0);
    QWidget *focused = list->activeView();
    focused->setFocus();
    QTRY_VERIFY(focused->hasFocus());

    QTest::keyClick(focused, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_fakes->clipboard.texts, QStringList{"x+y"});
    QVERIFY(m_fakes->keyEvents.log.isEmpty());

    QTest::keyClick(focused, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{typedLine("x{+}y")});
    QCOMPARE(m_fakes->clipboard.texts.size(), 1);
}

QTEST_MAIN(TestKeyOutput)
#include "tst_keyoutput.moc"
