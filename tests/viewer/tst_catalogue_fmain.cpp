// The catalogue in the main window: rows, colours, order, status bar panels, reloads.
#include "catalogue/cataloguemodel.h"
#include "catalogue/datafile.h"
#include "catalogue/keylistmodel.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "cp932.h"
#include "fakeservices.h"
#include "pathbytes.h"

#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "bytename.h"

namespace {

const QColor White(255, 255, 255);
const QColor Red(255, 0, 0);

// A program folder with a data box; files are written in CP932 with CR LF.
struct ProgramFolder {
    QTemporaryDir dir;
    QTemporaryDir outside;
    ProgramFolder() { QDir(dir.path()).mkdir(QStringLiteral("tuveldbox")); }

    static QString write(const QString &path, const QStringList &lines, const QDateTime &stamp = {})
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        for (const QString &line : lines)
            f.write(common::cp932::encode(line) + "\r\n");
        f.flush();  // a later flush would move the time again
        if (stamp.isValid())
            f.setFileTime(stamp, QFileDevice::FileModificationTime);
        return path;
    }
    QString box(const QString &name) const { return dir.filePath(QStringLiteral("tuveldbox/") + name); }
    QString addToBox(const QString &file, const QStringList &lines, const QDateTime &stamp = {}) const
    {
        return write(box(file), lines, stamp);
    }
    QString addOutside(const QString &file, const QStringList &lines) const
    {
        return write(outside.filePath(file), lines);
    }
    void registry(const QStringList &paths) const { write(dir.filePath(QStringLiteral("list.txt")), paths); }
    QStringList boxListing() const
    {
        return QDir(dir.filePath("tuveldbox")).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted);
    }
    common::AppInfo app() const
    {
        common::AppInfo info;
        info.programFolder = QDir::toNativeSeparators(dir.path());
        info.title = QStringLiteral("tuvelv");
        info.major = 1;
        info.revision = 40;
        return info;
    }
};

struct Window {
    platform::fake::FakeServiceSet fakes;
    FMain main;
    explicit Window(const ProgramFolder &p) : main(fakes.services(), p.app()) {}
    CatalogueModel *model() const { return catalogueModel(main); }
    QString cell(int row, int column) const
    {
        return model()->data(model()->index(row, column), Qt::DisplayRole).toString();
    }
    QColor colour(int row, int column) const
    {
        return model()->data(model()->index(row, column), Qt::ForegroundRole).value<QColor>();
    }
    QStringList names() const
    {
        QStringList result;
        for (int r = 0; r < model()->rowCount(); ++r)
            result << cell(r, CatalogueModel::NameColumn);
        return result;
    }
};

void verifyToolTipsFollowTexts(const FMain &main)
{
    for (const char *key : {"list", "key", "date", "comment"})
        QCOMPARE(panelToolTip(main, key), panelText(main, key));
}

}  // namespace

class TestCatalogueWindow : public QObject {
    Q_OBJECT
private slots:
    void emptyCatalogueAtStart();
    void splashIsUpBeforeTheControlsAreBuilt();
    void boxRowsWhiteThenRegisteredRed();
    void rowsCarryEveryField();
    void sameFileTwiceAndSameNames_data();
    void sameFileTwiceAndSameNames();
    void clickingARowShowsItsDateAndComment();
    void arrowKeysMoveTheCurrentRowLikeAClick();
    void reloadKeepsKeysAndShowsTheFirstRow();
    void emptyReloadKeepsDateAndComment();
    void registeredRowsAreDrawnRed();
    void theListWithTheFocusIsFramedInTheHighlight();
    void fileNameThatIsNotUtf8OpensOnDoubleClick();
};

void TestCatalogueWindow::emptyCatalogueAtStart()
{
    ProgramFolder p;
    Window w(p);
    QCOMPARE(w.model()->rowCount(), 0);
    QCOMPARE(panelText(w.main, "list"), QStringLiteral("all 0 lists"));
    QCOMPARE(panelText(w.main, "key"), QStringLiteral("all - keys"));
    QCOMPARE(panelText(w.main, "date"), QString());
    QCOMPARE(panelText(w.main, "comment"), QString());
    QCOMPARE(currentCatalogueRow(w.main), -1);
    QCOMPARE(keyListModel(w.main)->count(), 0);
    verifyToolTipsFollowTexts(w.main);
}

// What the main window holds at the moment the title window is shown.
class SplashShowWatch : public QObject {
public:
    int shown = 0;
    QStringList controlsBuilt;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("FTitle")) {
            ++shown;
            for (const char *name : {"CoolBar1", "ListView1", "ListView2", "StatusBar1"})
                if (watched->parent() && watched->parent()->findChild<QObject *>(QLatin1String(name)))
                    controlsBuilt << QLatin1String(name);
        }
        return false;
    }
};

void TestCatalogueWindow::splashIsUpBeforeTheControlsAreBuilt()
{
    ProgramFolder p;
    p.addToBox("a.txt", {"a", "first"});
    SplashShowWatch watch;
    qApp->installEventFilter(&watch);
    const auto removeWatch = qScopeGuard([&] { qApp->removeEventFilter(&watch); });
    Window w(p);
    QCOMPARE(watch.shown, 1);
    QCOMPARE(watch.controlsBuilt, QStringList());
    QVERIFY(w.main.splash());
    QCOMPARE(w.model()->rowCount(), 1);
}

void TestCatalogueWindow::boxRowsWhiteThenRegisteredRed()
{
    ProgramFolder p;
    p.addToBox("a.txt", {"a", "first"});
    p.addToBox("b.txt", {"b", "second"});
    const QString registered = p.addOutside("r.txt", {"r", "registered", "http://127.0.0.1/r.txt"});
    p.registry({registered, p.outside.filePath("missing.txt")});
    Window w(p);

    QStringList boxOrder;
    for (const QString &file : p.boxListing())
        boxOrder << QFileInfo(file).baseName();
    QCOMPARE(w.names(), boxOrder + QStringList{"r"});
    for (int column = 0; column < CatalogueModel::ColumnCount; ++column) {
        QCOMPARE(w.colour(0, column), White);
        QCOMPARE(w.colour(1, column), White);
        QCOMPARE(w.colour(2, column), Red);
    }
    QCOMPARE(w.model()->row(2).colour, 0x0000FFu);
    QCOMPARE(currentCatalogueRow(w.main), 0);
    QCOMPARE(panelText(w.main, "list"), QStringLiteral("all 3 lists"));
    QCOMPARE(panelText(w.main, "key"), QStringLiteral("all - keys"));
    QCOMPARE(panelText(w.main, "comment"), w.cell(0, CatalogueModel::DescriptionColumn));
    QCOMPARE(panelText(w.main, "date"), "date " + w.cell(0, CatalogueModel::LastUpdateColumn));
    verifyToolTipsFollowTexts(w.main);
}

void TestCatalogueWindow::rowsCarryEveryField()
{
    ProgramFolder p;
    const QDateTime stamp(QDate(2000, 11, 5), QTime(9, 5, 31));
    const QString path =
        p.addToBox("greet.txt", {"挨拶", "日常の挨拶", "http://127.0.0.1/greet.txt", "おはようございます"}, stamp);
    Window w(p);
    QCOMPARE(w.cell(0, CatalogueModel::NameColumn), QStringLiteral("挨拶"));
    QCOMPARE(w.cell(0, CatalogueModel::DescriptionColumn), QStringLiteral("日常の挨拶"));
    QCOMPARE(w.cell(0, CatalogueModel::LastUpdateColumn), QStringLiteral("2000/11/05 9:05:31"));
    QCOMPARE(w.cell(0, CatalogueModel::LocationColumn), QDir::toNativeSeparators(p.dir.path()) + QDir::separator() +
                                                            "tuveldbox" + QDir::separator() + "greet.txt");
    QCOMPARE(QFileInfo(w.cell(0, CatalogueModel::LocationColumn)), QFileInfo(path));
    QCOMPARE(w.cell(0, CatalogueModel::AddressColumn), QStringLiteral("http://127.0.0.1/greet.txt"));
    QCOMPARE(w.model()->data(w.model()->index(0, 0), Qt::ToolTipRole).toString(), QStringLiteral("挨拶"));
    QCOMPARE(panelText(w.main, "date"), QStringLiteral("date 2000/11/05 9:05:31"));
    QCOMPARE(panelText(w.main, "comment"), QStringLiteral("日常の挨拶"));
    QCOMPARE(w.model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("保管場所"));
}

void TestCatalogueWindow::sameFileTwiceAndSameNames_data()
{
    QTest::addColumn<bool>("registerBoxFile");
    QTest::newRow("list.txt names a data box file") << true;
    QTest::newRow("two files with one name") << false;
}

// Nothing is merged: each file found is one row, even when names or files repeat.
void TestCatalogueWindow::sameFileTwiceAndSameNames()
{
    QFETCH(bool, registerBoxFile);
    ProgramFolder p;
    p.addToBox("same.txt", {"同名", "box"});
    if (registerBoxFile) {
        // Written differently from the data box path, through a "..".
        const QString roundabout = p.dir.path() + "/tuveldbox/../tuveldbox/same.txt";
        p.registry({roundabout});
        Window w(p);
        QCOMPARE(w.names(), (QStringList{"同名", "同名"}));
        QCOMPARE(w.colour(0, 0), White);
        QCOMPARE(w.colour(1, 0), Red);
        QCOMPARE(w.cell(1, CatalogueModel::LocationColumn), roundabout);
        QVERIFY(w.cell(0, CatalogueModel::LocationColumn) != roundabout);
    } else {
        p.addToBox("same2.txt", {"同名", "box 2"});
        Window w(p);
        QCOMPARE(w.names(), (QStringList{"同名", "同名"}));
        QCOMPARE(panelText(w.main, "list"), QStringLiteral("all 2 lists"));
    }
}

void TestCatalogueWindow::clickingARowShowsItsDateAndComment()
{
    ProgramFolder p;
    p.addToBox("a.txt", {"a", "comment a"}, QDateTime(QDate(2001, 1, 2), QTime(0, 0)));
    p.addToBox("b.txt", {"b", "comment b"}, QDateTime(QDate(2002, 3, 4), QTime(13, 14, 15)));
    Window w(p);
    w.main.catalogue()->UpdateStatusBar(7);
    QCOMPARE(panelText(w.main, "key"), QStringLiteral("all 7 keys"));
    for (int row : {1, 0, 1}) {
        w.main.catalogue()->clickRow(row);
        QCOMPARE(currentCatalogueRow(w.main), row);
        const bool isA = w.cell(row, 0) == "a";
        QCOMPARE(panelText(w.main, "comment"), isA ? "comment a" : "comment b");
        QCOMPARE(panelText(w.main, "date"), isA ? "date 2001/01/02" : "date 2002/03/04 13:14:15");
        QCOMPARE(panelText(w.main, "key"), QStringLiteral("all - keys"));
        verifyToolTipsFollowTexts(w.main);
    }
}

void TestCatalogueWindow::arrowKeysMoveTheCurrentRowLikeAClick()
{
    ProgramFolder p;
    p.addToBox("a.txt", {"a", "comment a"});
    p.addToBox("b.txt", {"b", "comment b"});
    Window w(p);
    w.main.catalogue()->UpdateStatusBar(3);
    QTest::keyClick(listView1(w.main), Qt::Key_Down);
    QCOMPARE(currentCatalogueRow(w.main), 1);
    QCOMPARE(panelText(w.main, "comment"), w.cell(1, CatalogueModel::DescriptionColumn));
    QCOMPARE(panelText(w.main, "key"), QStringLiteral("all - keys"));
}

void TestCatalogueWindow::reloadKeepsKeysAndShowsTheFirstRow()
{
    ProgramFolder p;
    p.addToBox("a.txt", {"a", "comment a"});
    p.addToBox("b.txt", {"b", "comment b"});
    Window w(p);
    // A list is open: keys, a heading in the picker, a key count.
    w.main.keyList()->AddKeyRow("#[head]", true);
    w.main.keyList()->AddKeyRow("key", false);
    combo1(w.main)->addItem("#[head]");
    w.main.catalogue()->UpdateStatusBar(2);
    w.main.catalogue()->clickRow(1);
    w.main.catalogue()->UpdateStatusBar(2);

    p.addToBox("c.txt", {"c", "comment c"});
    chooseMenuItem(w.main, "mnuFileListOpen");

    QCOMPARE(w.model()->rowCount(), 3);
    QCOMPARE(currentCatalogueRow(w.main), 0);
    QCOMPARE(panelText(w.main, "list"), QStringLiteral("all 3 lists"));
    QCOMPARE(panelText(w.main, "key"), QStringLiteral("all - keys"));
    QCOMPARE(panelText(w.main, "comment"), w.cell(0, CatalogueModel::DescriptionColumn));
    QCOMPARE(panelText(w.main, "date"), "date " + w.cell(0, CatalogueModel::LastUpdateColumn));
    QCOMPARE(keyListModel(w.main)->count(), 2);
    QCOMPARE(combo1(w.main)->count(), 1);
    verifyToolTipsFollowTexts(w.main);
}

void TestCatalogueWindow::emptyReloadKeepsDateAndComment()
{
    ProgramFolder p;
    const QString only = p.addToBox("a.txt", {"a", "comment a"}, QDateTime(QDate(2003, 5, 6), QTime(7, 8, 9)));
    Window w(p);
    QVERIFY(QFile::remove(only));
    w.main.catalogue()->LoadCatalogue();
    QCOMPARE(w.model()->rowCount(), 0);
    QCOMPARE(currentCatalogueRow(w.main), -1);
    QCOMPARE(panelText(w.main, "list"), QStringLiteral("all 0 lists"));
    QCOMPARE(panelText(w.main, "key"), QStringLiteral("all - keys"));
    QCOMPARE(panelText(w.main, "date"), QStringLiteral("date 2003/05/06 7:08:09"));
    QCOMPARE(panelText(w.main, "comment"), QStringLiteral("comment a"));
    verifyToolTipsFollowTexts(w.main);
}

namespace {
// Pixels of a row of ListView1 that are clearly red, clearly white text.
QPair<int, int> redAndWhitePixels(QTableView *view, int row)
{
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    const QImage image = view->viewport()->grab(rect).toImage();
    int red = 0, white = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 80 && c.blue() < 80;
            white += c.red() > 180 && c.green() > 180 && c.blue() > 180;
        }
    return {red, white};
}
}  // namespace

// The style sheet gives the lists white text; the row colour must still win.
void TestCatalogueWindow::registeredRowsAreDrawnRed()
{
    ProgramFolder p;
    p.addToBox("a.txt", {"ＷＷＷ", "white"});
    p.registry({p.addOutside("r.txt", {"ＲＲＲ", "red"})});
    Window w(p);
    QTableView *view = listView1(w.main);
    view->resize(400, 200);
    view->setColumnWidth(0, 200);
    setCurrentCatalogueRow(w.main, -1);  // no selection colour over the rows
    view->clearSelection();
    const auto [redInWhiteRow, whiteInWhiteRow] = redAndWhitePixels(view, 0);
    const auto [redInRedRow, whiteInRedRow] = redAndWhitePixels(view, 1);
    QVERIFY(whiteInWhiteRow > 20);
    QCOMPARE(redInWhiteRow, 0);
    QVERIFY(redInRedRow > 20);
    QCOMPARE(whiteInRedRow, 0);
}

// White on black inside, framed in black, or in the highlight colour while it has the focus.
void TestCatalogueWindow::theListWithTheFocusIsFramedInTheHighlight()
{
    ProgramFolder p;
    Window w(p);
    w.main.show();
    w.main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.main));
    QTableView *catalogue = listView1(w.main);
    QTableView *keys = listView2(w.main)->detailsView();
    const QColor highlight = w.main.palette().color(QPalette::Active, QPalette::Highlight);
    const auto pixel = [](QWidget *view, QPoint at) { return view->grab().toImage().pixelColor(at); };
    const QColor black(Qt::black);
    for (QTableView *focused : {catalogue, keys}) {
        focused->setFocus();
        QTRY_VERIFY(focused->hasFocus());
        for (QTableView *view : {catalogue, keys}) {
            const QColor frame = view == focused ? highlight : black;
            const QPoint farCorner(view->width() - 1, view->height() - 1);
            QCOMPARE(pixel(view, QPoint(0, 0)), frame);
            QCOMPARE(pixel(view, farCorner), frame);
            QCOMPARE(view->viewport()->palette().color(QPalette::Base), black);
            QCOMPARE(view->palette().color(QPalette::Text), QColor(Qt::white));
        }
    }
}

// A data box file named by bytes that are not UTF-8 is listed, and its row loads its keys.
void TestCatalogueWindow::fileNameThatIsNotUtf8OpensOnDoubleClick()
{
    ProgramFolder p;
    const QByteArray path = QFile::encodeName(p.box({})) + "bad\xff\xfename.txt";
    WRITE_BYTE_NAMED_OR_SKIP(path,
                             common::cp932::encode(QStringLiteral("壊れた名前\r\n説明\r\n\r\n#[見出し]\r\nキー\r\n")));
    const auto removeFile = qScopeGuard([&] { testbytename::remove(path); });
    Window w(p);
    QCOMPARE(w.names(), QStringList{QStringLiteral("壊れた名前")});
    QCOMPARE(common::pathToBytes(w.cell(0, CatalogueModel::LocationColumn)), path);
    doubleClickCatalogue(w.main);
    QCOMPARE(keyListModel(w.main)->count(), 2);
    QCOMPARE(keyListModel(w.main)->text(1), QStringLiteral("キー"));
    QCOMPARE(panelText(w.main, "key"), QStringLiteral("all 2 keys"));
}

QTEST_MAIN(TestCatalogueWindow)
#include "tst_catalogue_fmain.moc"
