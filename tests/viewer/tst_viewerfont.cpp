// Giving a font only its first family, when that one is installed, must not change
// the face that draws the text.
#include "main/viewerfont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

class TestViewerFont : public QObject {
    Q_OBJECT
private slots:
    void sameFaceAsTheWholeList_data();
    void sameFaceAsTheWholeList();
};

void TestViewerFont::sameFaceAsTheWholeList_data()
{
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<bool>("bold");
    const QString installed = QFontDatabase::families().value(0);
    QTest::newRow("lists") << QStringList{"Noto Sans Mono CJK JP", "Noto Sans CJK JP", "monospace"} << false;
    QTest::newRow("title picture, bold") << QStringList{"DejaVu Sans", "Noto Sans"} << true;
    QTest::newRow("first one missing") << QStringList{"No Such Family Here", installed} << false;
    QTest::newRow("first one installed") << QStringList{installed, "No Such Family Here"} << true;
    QTest::newRow("none installed") << QStringList{"No Such Family Here", "Nor This One"} << false;
}

void TestViewerFont::sameFaceAsTheWholeList()
{
    QFETCH(QStringList, families);
    QFETCH(bool, bold);
    QFont whole, preferred;
    whole.setFamilies(families);
    setPreferredFamilies(preferred, families);
    for (QFont *font : {&whole, &preferred}) {
        font->setPointSizeF(9.75);
        font->setBold(bold);
    }
    const QFontInfo wholeInfo(whole), preferredInfo(preferred);
    QCOMPARE(preferredInfo.family(), wholeInfo.family());
    QCOMPARE(preferredInfo.styleName(), wholeInfo.styleName());
    // Given alone only when installed.
    QCOMPARE(preferred.families().size() == 1, QFontDatabase::hasFamily(families.first()) || families.size() == 1);
}

QTEST_MAIN(TestViewerFont)
#include "tst_viewerfont.moc"
