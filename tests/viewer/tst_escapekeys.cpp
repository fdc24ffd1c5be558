#include "output/escapekeys.h"

#include <QTest>

class TestEscapeKeys : public QObject {
    Q_OBJECT
private slots:
    void escape_data();
    void escape();
};

// clang-format off
void TestEscapeKeys::escape_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("keyString");
    QTest::newRow("plus") << "a+b" << "a{+}b";
    QTest::newRow("full-width parentheses") << u"（株）"_qs << u"{（}株{）}"_qs;
    QTest::newRow("full-width plus") << u"１＋１"_qs << u"１{＋}１"_qs;
    QTest::newRow("tilde percent caret") << "~%^" << "{~}{%}{^}";
    QTest::newRow("brace group kept") << "{+}" << "{{+}}";
    QTest::newRow("both parentheses") << u"(a)（b）"_qs << u"{(}a{)}{（}b{）}"_qs;
    QTest::newRow("full-width caret percent tilde") << u"＾％～"_qs << u"{＾}{％}{～}"_qs;
    QTest::newRow("brackets and tab pass") << "#[a]\tb" << "#[a]\tb";
    QTest::newRow("nothing special") << u"あいう abc"_qs << u"あいう abc"_qs;
    QTest::newRow("lone braces pass") << "{ }" << "{ }";
    QTest::newRow("wave dash is not the full-width tilde") << u"〜"_qs << u"〜"_qs;
    QTest::newRow("empty") << "" << "";
}
// clang-format on

void TestEscapeKeys::escape()
{
    QFETCH(QString, key);
    QFETCH(QString, keyString);
    const QString before = key;
    QCOMPARE(escapeKeys(key), keyString);
    QCOMPARE(key, before);
}

QTEST_GUILESS_MAIN(TestEscapeKeys)
#include "tst_escapekeys.moc"
