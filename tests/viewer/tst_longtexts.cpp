// Header lines and keys as long as the reader keeps (1 MiB): the lists show them cut,
// the window keeps them whole where they are data.
#include "catalogue/cataloguemodel.h"
#include "catalogue/celltext.h"
#include "catalogue/keylistmodel.h"
#include "catalogue/keylistview.h"
#include "main/fmain.h"
#include "windowcontrols.h"
#include "cp932.h"
#include "fakeservices.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int MiB = 1024 * 1024;
const QChar Ellipsis(0x2026);

common::AppInfo appIn(const QTemporaryDir &dir)
{
    common::AppInfo info;
    info.programFolder = QDir::toNativeSeparators(dir.path());
    info.title = QStringLiteral("tuvelv");
    return info;
}

// The text as a cell shows it, uncut: control characters other than tab become U+FFFD.
QString visible(QString text)
{
    for (QChar &ch : text)
        if ((ch.unicode() < 0x20 && ch != u'\t') || ch.unicode() == 0x7f)
            ch = QChar(QChar::ReplacementCharacter);
    return text;
}

// What a cut cell must look like: short, ending in the ellipsis, the rest a prefix.
void verifyShownCut(const QString &shown, const QString &fullText)
{
    const QString full = visible(fullText);
    QVERIFY2(shown.size() <= CellTextLimit + 1, qPrintable(QString::number(shown.size())));
    QVERIFY(shown.endsWith(Ellipsis));
    QVERIFY(full.startsWith(shown.chopped(1)));
    QVERIFY(shown.size() >= CellTextLimit);  // one fewer only before a surrogate pair
}

}  // namespace

class TestLongTexts : public QObject {
    Q_OBJECT
private slots:
    void cellText_data();
    void cellText();
    void longLinesAreShownCut_data();
    void longLinesAreShownCut();
    void longHeadingIsCutInTheBoxAndStillJumps();
};

void TestLongTexts::cellText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString limit(CellTextLimit, u'a');
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("short") << QStringLiteral("挨拶") << QStringLiteral("挨拶");
    QTest::newRow("exactly the limit") << limit << limit;
    QTest::newRow("one over") << limit + u'b' << limit + Ellipsis;
    const QChar replacement(QChar::ReplacementCharacter);
    QTest::newRow("a megabyte of nul") << QString(MiB, QChar(0)) << QString(CellTextLimit, replacement) + Ellipsis;
    QTest::newRow("controls shown as replacement, tab kept") << QStringLiteral("a\x01"
                                                                               "b\tc\x7f\x1f")
                                                             << QStringLiteral("a\uFFFDb\tc\uFFFD\uFFFD");
    QTest::newRow("line ends shown as replacement") << QStringLiteral("a\rb\nc") << QStringLiteral("a\uFFFDb\uFFFDc");
    const QString pair = QString::fromUtf8("\xF0\xA0\x80\x8B");  // one character, two code units
    QTest::newRow("surrogate pair across the limit")
        << limit.left(CellTextLimit - 1) + pair + u'x' << limit.left(CellTextLimit - 1) + Ellipsis;
    QTest::newRow("surrogate pair ending at the limit")
        << limit.left(CellTextLimit - 2) + pair + u'x' << limit.left(CellTextLimit - 2) + pair + Ellipsis;
}

void TestLongTexts::cellText()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(::cellText(text), shown);
}

void TestLongTexts::longLinesAreShownCut_data()
{
    QTest::addColumn<QByteArray>("longLine");
    QTest::newRow("nul bytes") << QByteArray(MiB, '\0');
    QTest::newRow("double-byte characters") << QByteArray("\x82\xa0").repeated(MiB / 2);
    QTest::newRow("blanks") << QByteArray(MiB - 1, ' ') + 'x';
}

void TestLongTexts::longLinesAreShownCut()
{
    QFETCH(QByteArray, longLine);
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkdir(QStringLiteral("tuveldbox")));
    const QString path = program.filePath(QStringLiteral("tuveldbox/long.txt"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        // Name, description, address and the second key are all the long line.
        f.write(longLine + "\r\n" + longLine + "\r\n" + longLine + "\r\nkey\r\n" + longLine);
    }
    const QString full = common::cp932::decode(longLine);
    platform::fake::FakeServiceSet fakes;
    FMain main(fakes.services(), appIn(program));
    CatalogueModel *catalogue = catalogueModel(main);
    QCOMPARE(catalogue->rowCount(), 1);
    const auto shown = [&](int column, int role) {
        return catalogue->data(catalogue->index(0, column), role).toString();
    };
    verifyShownCut(shown(CatalogueModel::NameColumn, Qt::DisplayRole), full);
    verifyShownCut(shown(CatalogueModel::NameColumn, Qt::ToolTipRole), full);
    verifyShownCut(shown(CatalogueModel::DescriptionColumn, Qt::DisplayRole), full);
    verifyShownCut(shown(CatalogueModel::AddressColumn, Qt::DisplayRole), full);
    // The storage location is never cut; the row keeps every field whole.
    QCOMPARE(QFileInfo(shown(CatalogueModel::LocationColumn, Qt::DisplayRole)), QFileInfo(path));
    QCOMPARE(catalogue->row(0).location, shown(CatalogueModel::LocationColumn, Qt::DisplayRole));
    QCOMPARE(catalogue->row(0).name, full);
    QCOMPARE(catalogue->row(0).description, full);
    QCOMPARE(catalogue->row(0).address, full);
    verifyShownCut(panelText(main, QStringLiteral("comment")), full);

    doubleClickCatalogue(main);
    KeyListModel *keys = keyListModel(main);
    QCOMPARE(keys->count(), 2);
    QVERIFY(keys->heading().size() <= CellTextLimit + 10);
    QVERIFY(keys->heading().startsWith(QStringLiteral("キー (") + visible(full.left(10))));
    QCOMPARE(keys->data(keys->index(0), Qt::DisplayRole).toString(), QStringLiteral("key"));
    verifyShownCut(keys->data(keys->index(1), Qt::DisplayRole).toString(), full);
    verifyShownCut(keys->data(keys->index(1), Qt::ToolTipRole).toString(), full);
    QCOMPARE(keys->text(1), full);  // typed and copied whole
}

// The heading box shows a long heading cut; choosing it still finds the heading row.
void TestLongTexts::longHeadingIsCutInTheBoxAndStillJumps()
{
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkdir(QStringLiteral("tuveldbox")));
    QByteArray bytes("list\r\ndesc\r\n\r\n");
    for (int i = 0; i < 200; ++i)
        bytes += (i == 100 ? "#[" + QByteArray(MiB, '\0') : "key " + QByteArray::number(i)) + "\r\n";
    {
        QFile f(program.filePath(QStringLiteral("tuveldbox/list.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes + "#[short]\r\n");
    }
    platform::fake::FakeServiceSet fakes;
    FMain main(fakes.services(), appIn(program));
    main.show();
    main.resize(500, 300);
    doubleClickCatalogue(main);
    QComboBox *box = combo1(main);
    QCOMPARE(box->count(), 2);
    verifyShownCut(box->itemText(0), "#[" + QString(MiB, QChar(0)));
    QCOMPARE(box->itemText(1), QStringLiteral("#[short]"));
    QTableView *view = listView2(main)->detailsView();
    QCOMPARE(view->rowAt(0), 0);
    emit box->activated(0);
    QCOMPARE(view->rowAt(0), 100);  // the heading row on the top line
    emit box->activated(1);
    QVERIFY(view->rowAt(0) > 100);  // the last screenful, with the short heading in it
}

QTEST_MAIN(TestLongTexts)
#include "tst_longtexts.moc"
