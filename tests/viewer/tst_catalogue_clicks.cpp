// Mouse on the catalogue: the empty area below the rows neither hides the current
// row's highlight nor ignores a double-click. The key list keeps its highlight too.
#include "catalogue/cataloguemodel.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "cp932.h"
#include "fakeservices.h"
#include "testwindow.h"

#include <QDir>
#include <QListView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Two lists in the data box, with one and two keys.
struct TwoLists {
    QTemporaryDir dir;
    TwoLists()
    {
        QDir(dir.path()).mkdir(QStringLiteral("tuveldbox"));
        write(QStringLiteral("a.txt"), "a\r\nfirst\r\n\r\nkey a\r\n");
        write(QStringLiteral("b.txt"), "b\r\nsecond\r\n\r\nkey b1\r\nkey b2\r\n");
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(dir.filePath(QStringLiteral("tuveldbox/") + name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
};

constexpr int Picked = 1;  // the row clicked before each test

}  // namespace

class TestCatalogueClicks : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void currentRowStaysHighlighted_data();
    void currentRowStaysHighlighted();
    void doubleClickBelowTheRowsLoadsTheCurrentList_data();
    void doubleClickBelowTheRowsLoadsTheCurrentList();
    void rightDoubleClickLoadsNothing();
    void keyListRowStaysHighlighted_data();
    void keyListRowStaysHighlighted();

private:
    QPoint rowCentre(int row) const
    {
        QTableView *view = listView1(*m_window);
        return view->visualRect(view->model()->index(row, 0)).center();
    }
    QPoint belowTheRows() const
    {
        QWidget *viewport = listView1(*m_window)->viewport();
        return QPoint(20, viewport->height() - 3);
    }
    bool highlighted(int row) const
    {
        return listView1(*m_window)->selectionModel()->isRowSelected(row, QModelIndex());
    }
    int keysOf(int row) const { return catalogueModel(*m_window)->row(row).name == QLatin1String("a") ? 1 : 2; }

    TwoLists *m_lists = nullptr;
    platform::fake::FakeServiceSet *m_fakes = nullptr;
    TestWindow *m_window = nullptr;
};

void TestCatalogueClicks::init()
{
    m_lists = new TwoLists;
    m_fakes = new platform::fake::FakeServiceSet;
    m_window = new TestWindow(m_fakes->services(), testAppInfo(QDir::toNativeSeparators(m_lists->dir.path())));
    m_window->resize(600, 300);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCOMPARE(catalogueModel(*m_window)->count(), 2);
    QTest::mouseClick(listView1(*m_window)->viewport(), Qt::LeftButton, {}, rowCentre(Picked));
    QCOMPARE(currentCatalogueRow(*m_window), Picked);
    QVERIFY(highlighted(Picked));
    // Room below the rows for the empty area.
    QVERIFY(rowCentre(1).y() + 20 < belowTheRows().y());
}

void TestCatalogueClicks::cleanup()
{
    delete m_window;
    delete m_fakes;
    delete m_lists;
}

void TestCatalogueClicks::currentRowStaysHighlighted_data()
{
    QTest::addColumn<bool>("onCurrentRow");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("click below the rows") << false << Qt::KeyboardModifiers();
    QTest::newRow("ctrl+click below the rows") << false << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("shift+click below the rows") << false << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("ctrl+click on the current row") << true << Qt::KeyboardModifiers(Qt::ControlModifier);
}

void TestCatalogueClicks::currentRowStaysHighlighted()
{
    QFETCH(bool, onCurrentRow);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    const QPoint at = onCurrentRow ? rowCentre(Picked) : belowTheRows();
    QTest::mouseClick(listView1(*m_window)->viewport(), Qt::LeftButton, modifiers, at);
    QCOMPARE(currentCatalogueRow(*m_window), Picked);
    QVERIFY(highlighted(Picked));
    QVERIFY(!highlighted(0));
    // The status bar still speaks of that row.
    QCOMPARE(panelText(*m_window, QStringLiteral("comment")), catalogueModel(*m_window)->row(Picked).description);
}

void TestCatalogueClicks::doubleClickBelowTheRowsLoadsTheCurrentList_data()
{
    QTest::addColumn<int>("current");
    QTest::newRow("second row current") << 1;
    QTest::newRow("first row current") << 0;
}

void TestCatalogueClicks::doubleClickBelowTheRowsLoadsTheCurrentList()
{
    QFETCH(int, current);
    QWidget *viewport = listView1(*m_window)->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(current));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, belowTheRows());
    QCOMPARE(keyListModel(*m_window)->count(), keysOf(current));
    QCOMPARE(panelText(*m_window, QStringLiteral("key")), QStringLiteral("all %1 keys").arg(keysOf(current)));
    QCOMPARE(currentCatalogueRow(*m_window), current);
    QVERIFY(highlighted(current));
}

void TestCatalogueClicks::rightDoubleClickLoadsNothing()
{
    QTest::mouseDClick(listView1(*m_window)->viewport(), Qt::RightButton, {}, belowTheRows());
    QCOMPARE(keyListModel(*m_window)->count(), 0);
}

void TestCatalogueClicks::keyListRowStaysHighlighted_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("onCurrentRow");
    for (int view : {int(KeyListView::DetailsView), int(KeyListView::ListView)}) {
        const char *name = view == KeyListView::DetailsView ? "details" : "list";
        QTest::addRow("%s: click beside the rows", name) << view << Qt::KeyboardModifiers() << false;
        QTest::addRow("%s: ctrl+click on the current row", name)
            << view << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
    }
}

void TestCatalogueClicks::keyListRowStaysHighlighted()
{
    QFETCH(int, view);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, onCurrentRow);
    doubleClickCatalogue(*m_window);
    KeyListView *keys = listView2(*m_window);
    keys->setView(view);
    QAbstractItemView *active = keys->activeView();
    QCoreApplication::processEvents();
    const QPoint first = active->visualRect(active->model()->index(0, 0)).center();
    QTest::mouseClick(active->viewport(), Qt::LeftButton, {}, first);
    QCOMPARE(keys->currentRow(), 0);
    const QPoint beside(active->viewport()->width() - 3, active->viewport()->height() - 3);
    QVERIFY(!active->indexAt(beside).isValid());
    QTest::mouseClick(active->viewport(), Qt::LeftButton, modifiers, onCurrentRow ? first : beside);
    QCOMPARE(keys->currentRow(), 0);
    QVERIFY(active->selectionModel()->isRowSelected(0, QModelIndex()));
}

QTEST_MAIN(TestCatalogueClicks)
#include "tst_catalogue_clicks.moc"
