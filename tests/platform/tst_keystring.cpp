#include "keystring.h"

#include <QTest>

using common::describeStrokes;
using common::parseKeyString;

class TestKeyString : public QObject {
    Q_OBJECT
private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void everyNamedKeySpelling_data();
    void everyNamedKeySpelling();
    void modifiersAlwaysBalanced_data();
    void modifiersAlwaysBalanced();
    void strokeBound_data();
    void strokeBound();
    void groupDepth_data();
    void groupDepth();
};

// clang-format off
void TestKeyString::accepted_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::addColumn<QString>("strokes");

    // Literal characters.
    QTest::newRow("empty") << "" << "";
    QTest::newRow("ascii") << "ab1" << "a b 1";
    QTest::newRow("space") << "a b" << "a U+0020 b";
    QTest::newRow("kana kanji") << "あ漢カ" << "あ 漢 カ";
    QTest::newRow("square brackets") << "#[見出し]" << "# [ 見 出 し ]";
    QTest::newRow("full-width unreserved") << "＋～（）" << "＋ ～ （ ）";
    QTest::newRow("outside BMP") << QString::fromUtf8("𠮷野") << QString::fromUtf8("𠮷 野");
    QTest::newRow("tab char") << "a\tb" << "a <TAB> b";
    QTest::newRow("lf") << "a\nb" << "a <ENTER> b";
    QTest::newRow("cr") << "a\rb" << "a <ENTER> b";
    QTest::newRow("crlf is one enter") << "a\r\nb" << "a <ENTER> b";
    QTest::newRow("lf cr is two") << "\n\r" << "<ENTER> <ENTER>";

    // Braces.
    QTest::newRow("escaped plus") << "a{+}b" << "a + b";
    QTest::newRow("escaped all ascii") << "{+}{^}{%}{~}{(}{)}" << "+ ^ % ~ ( )";
    QTest::newRow("escaped full-width") << "{＋}{＾}{％}{～}{（}{）}" << "＋ ＾ ％ ～ （ ）";
    QTest::newRow("open brace") << "{{}" << "{";
    QTest::newRow("close brace") << "{}}" << "}";
    QTest::newRow("both braces") << "{{}{}}" << "{ }";
    QTest::newRow("escaped plus in braces") << "{{}{+}{}}" << "{ + }";
    QTest::newRow("brace kanji") << "{株}" << "株";
    QTest::newRow("brace outside BMP") << QString::fromUtf8("{𠮷}") << QString::fromUtf8("𠮷");
    QTest::newRow("brace space") << "{ }" << "U+0020";
    QTest::newRow("brace square") << "{[}{]}" << "[ ]";
    QTest::newRow("brace tab") << "{\t}" << "<TAB>";

    // Named keys and repeats.
    QTest::newRow("enter") << "{ENTER}" << "<ENTER>";
    QTest::newRow("lower case") << "{enter}{Tab}" << "<ENTER> <TAB>";
    QTest::newRow("tilde") << "a~" << "a <ENTER>";
    QTest::newRow("repeat key") << "{LEFT 3}" << "<LEFT> <LEFT> <LEFT>";
    QTest::newRow("repeat char") << "{x 3}" << "x x x";
    QTest::newRow("repeat open brace") << "{{ 2}" << "{ {";
    QTest::newRow("repeat close brace") << "{} 2}" << "} }";
    QTest::newRow("repeat full-width") << "{～ 2}" << "～ ～";
    QTest::newRow("repeat space") << "{  2}" << "U+0020 U+0020";
    QTest::newRow("repeat zero") << "a{b 0}c" << "a c";
    QTest::newRow("repeat limit") << "{x 1000}" << QStringList(1000, QStringLiteral("x")).join(u' ');

    // Modifiers and groups.
    QTest::newRow("shift") << "+a" << "[+Shift] a [-Shift]";
    QTest::newRow("ctrl alt") << "^%{DEL}" << "[+Ctrl] [+Alt] <DEL> [-Alt] [-Ctrl]";
    QTest::newRow("only next key") << "+ab" << "[+Shift] a [-Shift] b";
    QTest::newRow("modifier on tilde") << "^~" << "[+Ctrl] <ENTER> [-Ctrl]";
    QTest::newRow("modifier on repeat") << "+{LEFT 2}" << "[+Shift] <LEFT> <LEFT> [-Shift]";
    QTest::newRow("group") << "+(ab)c" << "[+Shift] a b [-Shift] c";
    QTest::newRow("plain group") << "(ab)" << "a b";
    QTest::newRow("empty group") << "()" << "";
    QTest::newRow("nested group") << "^(a+(b)c)" << "[+Ctrl] a [+Shift] b [-Shift] c [-Ctrl]";
    QTest::newRow("held modifier not pressed twice") << "+(a+b)" << "[+Shift] a b [-Shift]";
    QTest::newRow("doubled modifier") << "++a" << "[+Shift] a [-Shift]";
    QTest::newRow("escaped in group") << "^({)}{(})" << "[+Ctrl] ) ( [-Ctrl]";
}
// clang-format on

void TestKeyString::accepted()
{
    QFETCH(QString, keyString);
    QFETCH(QString, strokes);
    const common::ParsedKeyString parsed = parseKeyString(keyString);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(describeStrokes(parsed.strokes), strokes);
}

// clang-format off
void TestKeyString::refused_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::addColumn<QString>("reason");  // a part of the message

    QTest::newRow("lone open brace") << "ab{" << "「{」を閉じる「}」がありません。「{」そのものは「{{}」と書きます（3文字目）";
    QTest::newRow("open brace without close") << "{abc" << "「{」を閉じる";
    QTest::newRow("empty braces") << "a{}" << "「{」を閉じる";
    QTest::newRow("lone close brace") << "a}b" << "対応する「{」のない「}」があります";
    QTest::newRow("close after braces") << "{a}}" << "「{}}」と書きます（4文字目）";
    QTest::newRow("unknown name") << "{ENTRE}" << "「{ENTRE}」は知らないキー名です";
    QTest::newRow("full-width name") << "{ＥＮＴＥＲ}" << "知らないキー名";
    QTest::newRow("two characters") << "{ab}" << "「{ab}」は知らないキー名です";
    QTest::newRow("unknown with count") << "{ab 2}" << "「{ab}」は知らないキー名です";
    QTest::newRow("repeat too big") << "{x 1001}" << "繰り返し回数が大きすぎます";
    QTest::newRow("repeat huge") << "{x 99999999999}" << "繰り返し回数が大きすぎます";
    QTest::newRow("unclosed group") << "a(bc" << "「(」を閉じる「)」がありません（2文字目）";
    QTest::newRow("unclosed nested group") << "((a)" << "「(」を閉じる「)」がありません（1文字目）";
    QTest::newRow("unopened group") << "ab)" << "対応する「(」のない「)」があります（3文字目）";
    QTest::newRow("shift at end") << "ab+" << "「+」の後に押すキーがありません（3文字目）";
    QTest::newRow("ctrl at end") << "^" << "「^」の後に押すキーがありません";
    QTest::newRow("alt before close") << "(a%)" << "「%」の後に押すキーがありません";
    QTest::newRow("stacked at end") << "a+^" << "「^」の後に押すキーがありません（3文字目）";
    QTest::newRow("control char") << QStringLiteral("a\u0001") << "制御文字 U+0001";
    QTest::newRow("escape char") << QStringLiteral("\u001b") << "制御文字 U+001B";
    QTest::newRow("lone high surrogate") << QString(QChar(0xd842)) + QLatin1Char('a') << "サロゲート";
    QTest::newRow("lone low surrogate") << QString(QChar(0xdfb7)) << "サロゲート";
    QTest::newRow("broken surrogate in braces") << QLatin1Char('{') + QString(QChar(0xd842)) + QLatin1Char('}') << "知らないキー名";
    QTest::newRow("error after good part") << "abc{DEL}{NOPE}" << "「{NOPE}」は知らないキー名です（9文字目）";
}
// clang-format on

void TestKeyString::refused()
{
    QFETCH(QString, keyString);
    QFETCH(QString, reason);
    const common::ParsedKeyString parsed = parseKeyString(keyString);
    QVERIFY(!parsed.ok());
    QVERIFY2(parsed.error.contains(reason), qPrintable(parsed.error));
    QVERIFY(parsed.strokes.isEmpty());  // nothing of a refused string is typed
}

void TestKeyString::everyNamedKeySpelling_data()
{
    QTest::addColumn<QString>("spelling");
    QTest::addColumn<QString>("key");
    // clang-format off
    const QList<std::pair<const char *, const char *>> names = {
        {"ENTER", "ENTER"}, {"TAB", "TAB"}, {"ESC", "ESC"}, {"ESCAPE", "ESC"},
        {"BS", "BS"}, {"BACKSPACE", "BS"}, {"BKSP", "BS"}, {"DEL", "DEL"}, {"DELETE", "DEL"},
        {"INS", "INS"}, {"INSERT", "INS"}, {"HOME", "HOME"}, {"END", "END"},
        {"PGUP", "PGUP"}, {"PGDN", "PGDN"}, {"UP", "UP"}, {"DOWN", "DOWN"},
        {"LEFT", "LEFT"}, {"RIGHT", "RIGHT"}, {"BREAK", "BREAK"}, {"CAPSLOCK", "CAPSLOCK"},
        {"NUMLOCK", "NUMLOCK"}, {"SCROLLLOCK", "SCROLLLOCK"}, {"PRTSC", "PRTSC"}, {"HELP", "HELP"},
        {"ADD", "ADD"}, {"SUBTRACT", "SUBTRACT"}, {"MULTIPLY", "MULTIPLY"}, {"DIVIDE", "DIVIDE"},
    };
    // clang-format on
    for (const auto &[spelling, key] : names) {
        QTest::addRow("%s", spelling) << QString::fromLatin1(spelling) << QString::fromLatin1(key);
        const QString lower = QString::fromLatin1(spelling).toLower();
        QTest::addRow("%s", qPrintable(lower)) << lower << QString::fromLatin1(key);
    }
    for (int f = 1; f <= 16; ++f)
        QTest::addRow("F%d", f) << QStringLiteral("f%1").arg(f) << QStringLiteral("F%1").arg(f);
}

void TestKeyString::everyNamedKeySpelling()
{
    QFETCH(QString, spelling);
    QFETCH(QString, key);
    const common::ParsedKeyString parsed = parseKeyString(QLatin1Char('{') + spelling + QLatin1String(" 2}"));
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(describeStrokes(parsed.strokes), QStringLiteral("<%1> <%1>").arg(key));
}

void TestKeyString::modifiersAlwaysBalanced_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::newRow("mixed") << "+^%(a+(b%c)^{LEFT 2})~";
    QTest::newRow("each on own key") << "+a^b%c+(d)^(e)%(f)";
    QTest::newRow("deep") << "+(^(%(+(a))))";
}

// Every modifier pressed is released, in reverse order, and none is pressed twice.
void TestKeyString::modifiersAlwaysBalanced()
{
    QFETCH(QString, keyString);
    const common::ParsedKeyString parsed = parseKeyString(keyString);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QList<common::Modifier> down;
    for (const common::KeyStroke &k : parsed.strokes) {
        if (k.kind == common::KeyStroke::ModifierDown) {
            QVERIFY(!down.contains(k.modifier));
            down.append(k.modifier);
        } else if (k.kind == common::KeyStroke::ModifierUp) {
            QVERIFY(!down.isEmpty());
            QCOMPARE(down.takeLast(), k.modifier);
        }
    }
    QVERIFY(down.isEmpty());
}

void TestKeyString::strokeBound_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::addColumn<int>("strokes");  // -1: refused
    const int max = common::MaxKeyStrokes;
    const QString thousand = QStringLiteral("{x 1000}");
    QTest::newRow("repeats up to the bound") << thousand.repeated(max / 1000) << max;
    QTest::newRow("one over by a plain character") << thousand.repeated(max / 1000) + QLatin1Char('a') << -1;
    QTest::newRow("one over by a named key")
        << QStringLiteral("{LEFT 1000}").repeated(max / 1000) + QStringLiteral("~") << -1;
    QTest::newRow("plain characters at the bound") << QString(max, QLatin1Char('a')) << max;
    QTest::newRow("plain characters over the bound") << QString(max + 1, QLatin1Char('a')) << -1;
    // Shift down, a, Shift up: three strokes each.
    QTest::newRow("modifier strokes count") << QStringLiteral("+a").repeated(max / 3) << max / 3 * 3;
    QTest::newRow("modifier strokes over") << QStringLiteral("+a").repeated(max / 3 + 1) << -1;
    QTest::newRow("700 million strokes") << thousand.repeated(700000) << -1;
}

// A key expands to at most MaxKeyStrokes strokes; a longer one is refused as a whole
// before its strokes are built.
void TestKeyString::strokeBound()
{
    QFETCH(QString, keyString);
    QFETCH(int, strokes);
    const common::ParsedKeyString parsed = parseKeyString(keyString);
    if (strokes < 0) {
        QVERIFY(!parsed.ok());
        QVERIFY2(parsed.error.contains(QStringLiteral("打鍵が多すぎます")), qPrintable(parsed.error));
        QVERIFY(parsed.strokes.isEmpty());
    } else {
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        QCOMPARE(parsed.strokes.size(), strokes);
    }
}

// clang-format off
void TestKeyString::groupDepth_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::addColumn<QString>("strokes");  // empty: refused for its depth
    const int max = common::MaxGroupDepth;
    auto nested = [](int depth, const QString &inner) {
        return QString(depth, QLatin1Char('(')) + inner + QString(depth, QLatin1Char(')'));
    };
    QTest::newRow("deepest accepted") << nested(max, QStringLiteral("a")) << "a";
    QTest::newRow("one level too deep") << nested(max + 1, QStringLiteral("a")) << "";
    QTest::newRow("100000 levels") << nested(100000, QStringLiteral("a")) << "";
    QTest::newRow("100000 unclosed levels") << QString(100000, QLatin1Char('(')) << "";
    QTest::newRow("100000 levels with shift") << QStringLiteral("+(").repeated(100000) << "";
    QTest::newRow("siblings are not depth") << QStringLiteral("(a)").repeated(max + 10).left(9) << "a a a";
    QTest::newRow("shift through groups") << "+((a)(b))c" << "[+Shift] a b [-Shift] c";
}
// clang-format on

void TestKeyString::groupDepth()
{
    QFETCH(QString, keyString);
    QFETCH(QString, strokes);
    const common::ParsedKeyString parsed = parseKeyString(keyString);
    if (strokes.isEmpty()) {
        QVERIFY(!parsed.ok());
        QVERIFY2(parsed.error.contains(QStringLiteral("入れ子が深すぎます")), qPrintable(parsed.error));
    } else {
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        QCOMPARE(describeStrokes(parsed.strokes), strokes);
    }
}

QTEST_GUILESS_MAIN(TestKeyString)
#include "tst_keystring.moc"
