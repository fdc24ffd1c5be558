// The code page 932 table against the platform's own converter, named mappings of
// Windows code page 932, round trips and broken input.
#include "cp932.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

namespace {

QByteArray bytesFromHex(const char *hex) { return QByteArray::fromHex(hex); }

QString hexOf(const QString &text)
{
    QStringList units;
    for (QChar c : text)
        units << QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return units.join(QLatin1Char(' '));
}

QString fromUnits(std::initializer_list<char16_t> units)
{
    QString s;
    for (char16_t u : units)
        s.append(QChar(u));
    return s;
}

// The platform's converter, where Qt was built with one (ICU). It differs from
// Windows in two ways that the comparison has to undo: it substitutes U+001A for a
// single bad byte (we give U+FFFD), and it swaps the controls 0x1A, 0x1C and 0x7F,
// so inputs holding those bytes are left out of the comparison.
class Reference {
public:
    bool valid() const { return decoder.isValid() && encoder.isValid(); }
    QString decode(const QByteArray &bytes)
    {
        decoder.resetState();
        QString s = decoder.decode(bytes);
        s.replace(QChar(0x1A), QChar(0xFFFD));
        return s;
    }
    QByteArray encode(const QString &text)
    {
        encoder.resetState();
        return encoder.encode(text);
    }

private:
    QStringDecoder decoder{"windows-31j"};
    QStringEncoder encoder{"windows-31j"};
};

bool isSwappedControl(unsigned char b) { return b == 0x1A || b == 0x1C || b == 0x7F; }

}  // namespace

class TestCp932 : public QObject {
    Q_OBJECT

private slots:
    void everySingleByteMatchesReference();
    void everyBytePairMatchesReference();
    void randomTextMatchesReference();
    void namedMappings_data();
    void namedMappings();
    void everyCharacterRoundTrips();
    void preferredForms_data();
    void preferredForms();
    void invalidSequences_data();
    void invalidSequences();
    void asciiRunsAroundDoubleBytes();
};

void TestCp932::everySingleByteMatchesReference()
{
    Reference ref;
    if (!ref.valid())
        QSKIP("Qt has no windows-31j converter here");
    for (int b = 0; b < 256; ++b) {
        if (isSwappedControl(static_cast<unsigned char>(b)))
            continue;
        // A blank after the byte ends a lead byte the same way in both converters.
        const QByteArray bytes = QByteArray(1, static_cast<char>(b)) + ' ';
        QCOMPARE(hexOf(common::cp932::decode(bytes)), hexOf(ref.decode(bytes)));
    }
}

void TestCp932::everyBytePairMatchesReference()
{
    Reference ref;
    if (!ref.valid())
        QSKIP("Qt has no windows-31j converter here");
    int mismatches = 0;
    QString first;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFF; ++trail) {
            if (isSwappedControl(static_cast<unsigned char>(trail)))
                continue;
            QByteArray bytes;
            bytes.append(static_cast<char>(lead)).append(static_cast<char>(trail)).append(' ');
            const QString ours = hexOf(common::cp932::decode(bytes));
            const QString theirs = hexOf(ref.decode(bytes));
            if (ours != theirs && mismatches++ == 0)
                first = QStringLiteral("%1: %2 vs %3").arg(QString::fromLatin1(bytes.toHex()), ours, theirs);
        }
    }
    QVERIFY2(mismatches == 0, qPrintable(QStringLiteral("%1 mismatches, first %2").arg(mismatches).arg(first)));
}

void TestCp932::randomTextMatchesReference()
{
    Reference ref;
    if (!ref.valid())
        QSKIP("Qt has no windows-31j converter here");
    QRandomGenerator random(932);
    QByteArray bytes(200000, Qt::Uninitialized);
    for (char &c : bytes) {
        c = static_cast<char>(random.bounded(256));
        if (isSwappedControl(static_cast<unsigned char>(c)))
            c = 'x';
    }
    bytes.append(' ');
    QCOMPARE(common::cp932::decode(bytes), ref.decode(bytes));
}

void TestCp932::namedMappings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("unicode");

    QTest::newRow("backslash stays 0x5C") << bytesFromHex("5c") << 0x5C;
    QTest::newRow("tilde stays 0x7E") << bytesFromHex("7e") << 0x7E;
    QTest::newRow("control 0x1A") << bytesFromHex("1a") << 0x1A;
    QTest::newRow("control 0x1C") << bytesFromHex("1c") << 0x1C;
    QTest::newRow("delete 0x7F") << bytesFromHex("7f") << 0x7F;
    QTest::newRow("wave dash is full-width tilde") << bytesFromHex("8160") << 0xFF5E;
    QTest::newRow("full-width backslash") << bytesFromHex("815f") << 0xFF3C;
    QTest::newRow("minus is full-width hyphen-minus") << bytesFromHex("817c") << 0xFF0D;
    QTest::newRow("double vertical line is parallel") << bytesFromHex("8161") << 0x2225;
    QTest::newRow("em dash is horizontal bar") << bytesFromHex("815c") << 0x2015;
    QTest::newRow("cent sign") << bytesFromHex("8191") << 0xFFE0;
    QTest::newRow("not sign") << bytesFromHex("81ca") << 0xFFE2;
    QTest::newRow("hiragana a") << bytesFromHex("82a0") << 0x3042;
    QTest::newRow("first kanji") << bytesFromHex("889f") << 0x4E9C;
    QTest::newRow("last kanji of JIS level 2") << bytesFromHex("eaa4") << 0x7199;
    QTest::newRow("NEC row 13 circled one") << bytesFromHex("8740") << 0x2460;
    QTest::newRow("NEC row 13 roman one") << bytesFromHex("8754") << 0x2160;
    QTest::newRow("NEC row 13 because") << bytesFromHex("879a") << 0x2235;
    QTest::newRow("NEC-selected IBM first") << bytesFromHex("ed40") << 0x7E8A;
    QTest::newRow("NEC-selected IBM not sign") << bytesFromHex("eef9") << 0xFFE2;
    QTest::newRow("IBM small roman one") << bytesFromHex("fa40") << 0x2170;
    QTest::newRow("IBM roman one") << bytesFromHex("fa4a") << 0x2160;
    QTest::newRow("IBM last") << bytesFromHex("fc4b") << 0x9ED1;
    QTest::newRow("user-defined first") << bytesFromHex("f040") << 0xE000;
    QTest::newRow("user-defined second row") << bytesFromHex("f140") << 0xE000 + 188;
    QTest::newRow("user-defined last") << bytesFromHex("f9fc") << 0xE757;
    QTest::newRow("half-width katakana first") << bytesFromHex("a1") << 0xFF61;
    QTest::newRow("half-width katakana last") << bytesFromHex("df") << 0xFF9F;
}

void TestCp932::namedMappings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, unicode);
    QCOMPARE(hexOf(common::cp932::decode(bytes)), hexOf(QString(QChar(unicode))));
}

void TestCp932::everyCharacterRoundTrips()
{
    Reference ref;
    int characters = 0;
    for (int lead = 0x00; lead <= 0xFF; ++lead) {
        for (int trail = -1; trail <= 0xFF; ++trail) {
            QByteArray bytes(1, static_cast<char>(lead));
            if (trail >= 0)
                bytes.append(static_cast<char>(trail));
            const QString text = common::cp932::decode(bytes);
            if (text.size() != 1 || text.at(0) == QChar(0xFFFD))
                continue;
            ++characters;
            const QByteArray encoded = common::cp932::encode(text);
            QCOMPARE(common::cp932::decode(encoded), text);
            // Where a character has several forms, the one Windows writes.
            if (ref.valid() && text.at(0).unicode() >= 0x80)
                QCOMPARE(encoded.toHex(), ref.encode(text).toHex());
        }
    }
    QVERIFY(characters > 9000);
}

void TestCp932::preferredForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ascii") << QStringLiteral("A\\~") << QByteArray("A\\~");
    QTest::newRow("JIS over NEC row 13") << QString(QChar(0x2252)) << bytesFromHex("81e0");
    QTest::newRow("JIS over NEC-selected IBM and IBM") << QString(QChar(0xFFE2)) << bytesFromHex("81ca");
    QTest::newRow("JIS because over NEC and IBM") << QString(QChar(0x2235)) << bytesFromHex("81e6");
    QTest::newRow("NEC row 13 over IBM") << QString(QChar(0x2160)) << bytesFromHex("8754");
    QTest::newRow("NEC row 13 numero over IBM") << QString(QChar(0x2116)) << bytesFromHex("8782");
    QTest::newRow("IBM over NEC-selected IBM") << QString(QChar(0x2170)) << bytesFromHex("fa40");
    QTest::newRow("IBM kanji over NEC-selected IBM") << QString(QChar(0x7E8A)) << bytesFromHex("fa5c");
    QTest::newRow("IBM broken bar") << QString(QChar(0xFFE4)) << bytesFromHex("fa55");
    QTest::newRow("user-defined") << QString(QChar(0xE757)) << bytesFromHex("f9fc");
    QTest::newRow("half-width katakana") << QString(QChar(0xFF61)) << bytesFromHex("a1");
    QTest::newRow("yen sign has no form") << QString(QChar(0x00A5)) << QByteArray("?");
    QTest::newRow("wave dash has no form") << QString(QChar(0x301C)) << QByteArray("?");
    QTest::newRow("emoji is one character") << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
    QTest::newRow("lone high surrogate") << fromUnits({0xD83D, u'a'}) << QByteArray("?a");
    QTest::newRow("lone low surrogate") << fromUnits({0xDE00}) << QByteArray("?");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestCp932::preferredForms()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(common::cp932::encode(text).toHex(), bytes.toHex());
}

void TestCp932::invalidSequences_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QChar bad(0xFFFD);

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("lone lead at end") << bytesFromHex("81") << QString(bad);
    QTest::newRow("lone lead after text") << bytesFromHex("41e0") << (QStringLiteral("A") + bad);
    QTest::newRow("lead before CR LF keeps the line end")
        << bytesFromHex("810d0a") << (QString(bad) + QStringLiteral("\r\n"));
    QTest::newRow("lead before blank") << bytesFromHex("8120") << (QString(bad) + QStringLiteral(" "));
    QTest::newRow("lead before 0x7F") << bytesFromHex("817f") << (QString(bad) + QChar(0x7F));
    QTest::newRow("lead before 0xFD") << bytesFromHex("81fd") << (QString(bad) + bad);
    QTest::newRow("a lead byte can be a trail byte") << bytesFromHex("818140") << QStringLiteral("\uFF1D@");
    QTest::newRow("unassigned pair is one character") << bytesFromHex("8540") << QString(bad);
    QTest::newRow("unassigned row") << bytesFromHex("eb4041") << (QString(bad) + QStringLiteral("A"));
    QTest::newRow("bytes that are never characters") << bytesFromHex("80a0fdfeff") << QString(5, bad);
    QTest::newRow("character then lone lead") << bytesFromHex("82a082") << (QChar(0x3042) + QString(bad));
}

void TestCp932::invalidSequences()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(hexOf(common::cp932::decode(bytes)), hexOf(text));
}

// The decoder copies ASCII eight bytes at a time; a double-byte character whose trail
// byte is ASCII, at any offset, and a lead byte as the very last byte must still be seen.
void TestCp932::asciiRunsAroundDoubleBytes()
{
    for (int before = 0; before < 18; ++before) {
        for (int after = 0; after < 10; ++after) {
            const QByteArray bytes = QByteArray(before, 'a') + bytesFromHex("8160") + QByteArray(after, 'b');
            const QString expected = QString(before, u'a') + QChar(0xFF5E) + QString(after, u'b');
            QCOMPARE(common::cp932::decode(bytes), expected);
            QCOMPARE(common::cp932::decode(bytes + bytesFromHex("82")), expected + QChar(0xFFFD));
        }
    }
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
