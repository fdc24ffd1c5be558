// The key list and key output of the main window, with recording platform fakes.
#include "catalogue/cataloguemodel.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "main/fmain.h"
#include "testwindow.h"
#include "platform/fake/fakeservices.h"

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

} // namespace

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
    m_window->AddListRow(QStringLiteral("row"), {}, {}, path, {}, 0xFFFFFF);
    m_window->setCurrentCatalogueRow(m_window->catalogueModel()->count() - 1);
    m_window->ListView1_DblClick();
}

void TestKeyOutput::showActive()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestKeyOutput::catalogueDoubleClickLoadsKeys()
{
    openList(writeList("tuveldbox/keys.txt", "L\r\nd\r\nu\r\n#[A]\r\nx\r\n#[B]\r\ny\r\n"));
    KeyListModel *keys = m_window->keyListModel();
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
    QCOMPARE(m_window->listView2()->detailsView()->model()->headerData(0, Qt::Horizontal).toString(),
             QString::fromUtf8("キー (L)"));
    QComboBox *combo = m_window->combo1();
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QString("#[A]"));
    QCOMPARE(combo->itemText(1), QString("#[B]"));
    // The status bar belongs to the catalogue code; once it fills the panels, check them.
    if (!m_window->panelText("list").isEmpty())
        QCOMPARE(m_window->panelText("key"), QString("all 4 keys"));
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
    QCOMPARE(m_window->keyListModel()->count(), rows);
    QCOMPARE(m_window->combo1()->count(), headings);
    QCOMPARE(m_window->keyListModel()->heading(), heading);
    if (fileExists && !m_window->panelText("list").isEmpty())
        QCOMPARE(m_window->panelText("key"), QString("all - keys"));
}

void TestKeyOutput::emptyCatalogueDoubleClick()
{
    QCOMPARE(m_window->catalogueModel()->count(), 0);
    m_window->AddKeyRow(QStringLiteral("kept"), false);
    m_window->ListView1_DblClick();
    QCOMPARE(m_window->keyListModel()->count(), 1);
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
    KeyListView *list = m_window->listView2();
    list->setCurrentRow(3);
    m_window->Combo1_Click(chosen);
    QCOMPARE(list->currentRow(), 3);
    QTableView *view = list->detailsView();
    const int bottomRow = view->rowAt(view->viewport()->height() - 1);
    if (atTop) {
        QCOMPARE(view->rowAt(0), found);
        return;
    }
    // The list was scrolled to its end and, if found, the row is in that last screenful.
    QVERIFY(bottomRow == -1 || bottomRow >= m_window->keyListModel()->count() - 2);
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
    m_window->combo1()->setFocus();
    m_window->listView2()->setCurrentRow(row);
    m_window->ListView2_DblClick();
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{"type " + typed});
    for (const auto &e : m_fakes->keyEvents.events) {
        QCOMPARE(e.scanCode, quint8(0));
        QCOMPARE(e.extraInfo, quintptr(0));
    }
    QCOMPARE(m_fakes->keyTyper.calls.size(), 1);
    QVERIFY(m_fakes->keyTyper.calls.first().wait);
    QVERIFY(m_window->messages.isEmpty());
    QVERIFY(m_window->listView2()->activeView()->hasFocus());
    QCOMPARE(m_window->listView2()->currentRow(), row);
}

void TestKeyOutput::consecutiveOutputs()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\none\r\n2%\r\n"));
    m_window->listView2()->setCurrentRow(1);
    m_window->ListView2_DblClick();
    m_window->listView2()->setCurrentRow(0);
    m_window->mnuEditSendKey_Click();
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{"type 2{%}"} + altTab + QStringList{"type one"});
}

void TestKeyOutput::directOutputWithoutRows()
{
    m_window->ListView2_DblClick();
    m_window->mnuEditSendKey_Click();
    QVERIFY(m_fakes->keyEvents.log.isEmpty());
    QVERIFY(m_fakes->keyTyper.calls.isEmpty());
}

void TestKeyOutput::directOutputWithoutCurrentRow()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nk\r\n"));
    // A freshly loaded list has its first key current; take that away.
    QCOMPARE(m_window->listView2()->currentRow(), 0);
    m_window->listView2()->setCurrentRow(-1);
    QCOMPARE(m_window->listView2()->currentRow(), -1);
    m_window->ListView2_DblClick();
    QCOMPARE(m_fakes->keyEvents.log, altTab);
    QVERIFY(m_fakes->keyTyper.calls.isEmpty());
}

// A key that reads well but that the typer refuses (say, no keycode to type it on).
void TestKeyOutput::refusedKeyString()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\ngood\r\n"));
    showActive();
    m_fakes->keyTyper.refuseWith = QStringLiteral("no spare keycode");
    m_window->listView2()->setCurrentRow(0);
    m_window->combo1()->setFocus();
    m_window->ListView2_DblClick();
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{"type good"});
    QCOMPARE(m_window->messages.size(), 1);
    QVERIFY(m_window->messages.first().contains("no spare keycode"));
    QVERIFY(m_window->listView2()->activeView()->hasFocus());
}

void TestKeyOutput::doubleClickOnEmptyArea()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nfirst\r\nsecond\r\n"));
    showActive();
    KeyListView *list = m_window->listView2();
    list->setCurrentRow(1);
    QWidget *viewport = list->detailsView()->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 3));
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{"type second"});
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
    m_window->listView2()->setCurrentRow(row);
    m_window->Combo1_Click(QStringLiteral("#[A]"));  // only scrolls
    m_window->mnuEditCopy_Click();
    QCOMPARE(m_fakes->clipboard.texts, QStringList{copied});
    QVERIFY(m_fakes->keyEvents.log.isEmpty());
}

void TestKeyOutput::copyWithoutRowsOrCurrent()
{
    m_window->mnuEditCopy_Click();
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nk\r\n"));
    m_window->listView2()->setCurrentRow(-1);
    m_window->mnuEditCopy_Click();  // rows, none current
    QVERIFY(m_fakes->clipboard.texts.isEmpty());
    QVERIFY(m_window->messages.isEmpty());
}

void TestKeyOutput::copyFailure()
{
    openList(writeList("keys.txt", "L\r\nd\r\nu\r\nk\r\n"));
    m_window->listView2()->setCurrentRow(0);
    m_fakes->clipboard.failing = true;
    m_window->mnuEditCopy_Click();
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
    KeyListView *list = m_window->listView2();
    list->setView(viewCode);
    list->setCurrentRow(0);
    QWidget *focused = list->activeView();
    focused->setFocus();
    QTRY_VERIFY(focused->hasFocus());

    QTest::keyClick(focused, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_fakes->clipboard.texts, QStringList{"x+y"});
    QVERIFY(m_fakes->keyEvents.log.isEmpty());

    QTest::keyClick(focused, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(m_fakes->keyEvents.log, altTab + QStringList{"type x{+}y"});
    QCOMPARE(m_fakes->clipboard.texts.size(), 1);
}

QTEST_MAIN(TestKeyOutput)
#include "tst_keyoutput.moc"
