// Splitting of the updater's argument text into items.
#include "commandline.h"
#include "ccommandline.h"

#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void consumesArgument_data();
    void consumesArgument();
    void outOfRangeIsSafe();
};

void TestCommandLine::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    using L = QStringList;
    QTest::newRow("empty") << "" << L{};
    QTest::newRow("quoted path and address")
        << R"("C:\My Lists\a b.txt" http://h/a.txt)" << L{R"(C:\My Lists\a b.txt)", "http://h/a.txt"};
    QTest::newRow("two blanks give an empty item") << "one  two" << L{"one", "", "two"};
    QTest::newRow("single trailing blank adds nothing") << "word " << L{"word"};
    QTest::newRow("two trailing blanks add one empty item") << "word  " << L{"word", ""};
    QTest::newRow("leading blank gives empty item 0") << " a" << L{"", "a"};
    QTest::newRow("only a blank") << " " << L{""};
    QTest::newRow("closing quote stays when letters follow") << R"("ab"cd ef)" << L{R"(ab"c)", "ef"};
    QTest::newRow("empty quotes") << R"("" x)" << L{"", "x"};
    QTest::newRow("empty quotes at the end") << R"(x "")" << L{"x", ""};
    QTest::newRow("quote inside unquoted item") << R"(ab"c d)" << L{R"(ab"c)", "d"};
    QTest::newRow("quoted last item") << R"(a "b c")" << L{"a", "b c"};
    QTest::newRow("tab is no separator") << "a\tb c" << L{"a\tb", "c"};
    QTest::newRow("unclosed quote takes the rest") << R"(a "b c d)" << L{"a", "b c d"};
    QTest::newRow("unclosed quote at the end") << R"(a "bc)" << L{"a", "bc"};
    QTest::newRow("lone quote") << R"(")" << L{""};
    QTest::newRow("lone quote then blank") << R"(" x)" << L{" x"};
    QTest::newRow("japanese counts characters")
        << QString::fromUtf8("\"データ 一覧.txt\" http://h/x") << L{QString::fromUtf8("データ 一覧.txt"), "http://h/x"};
    QTest::newRow("address with a blank splits") << R"("p" http://h/a b)" << L{"p", "http://h/a", "b"};
    QTest::newRow("quoted item without blank after it") << R"("a b"c)" << L{"a b\""};
}

void TestCommandLine::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(common::splitCommandLine(text), items);

    CCommandLine line;
    QString copy = text;
    line.GetLine(copy);
    QCOMPARE(line.MinIndex(), 0);
    QCOMPARE(line.MaxIndex(), items.size());
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(line.Lines(i), items.at(i));
    QCOMPARE(line.Lines(line.MaxIndex()), QString());
}

// clang-format off
void TestCommandLine::consumesArgument_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left");
    QTest::newRow("ends in a blank") << "a b " << "";
    QTest::newRow("raw last item") << R"(a "b c")" << R"("b c")";
    QTest::newRow("empty") << "" << "";
}
// clang-format on

void TestCommandLine::consumesArgument()
{
    QFETCH(QString, text);
    QFETCH(QString, left);
    CCommandLine line;
    line.GetLine(text);
    QCOMPARE(text, left);
}

void TestCommandLine::outOfRangeIsSafe()
{
    CCommandLine line;
    QCOMPARE(line.MaxIndex(), -1);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no item 0"));
    QCOMPARE(line.Lines(0), QString());

    QString one = "only";
    line.GetLine(one);
    QCOMPARE(line.Lines(1), QString());  // the final empty element: WebFilePath is empty
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no item 2"));
    QCOMPARE(line.Lines(2), QString());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no item -1"));
    QCOMPARE(line.Lines(-1), QString());

    line.SetItems({"p q", "u"});
    QCOMPARE(line.MaxIndex(), 2);
    QCOMPARE(line.Lines(0), QString("p q"));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
