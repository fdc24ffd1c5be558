#include "enginesteps.h"

#include <QTest>

using platform::freedesktop::EngineStep;
using platform::freedesktop::engineSteps;

// Steps written short: "text" for a commit, "<keysym hex>/<evdev code>/<state>" for a key.
static QString described(const QList<EngineStep> &steps)
{
    QStringList parts;
    for (const EngineStep &s : steps)
        parts << (s.text.isEmpty() ? QStringLiteral("<%1/%2/%3>").arg(s.keysym, 0, 16).arg(s.keycode).arg(s.state)
                                   : s.text);
    return parts.join(u' ');
}

class TestEngineSteps : public QObject {
    Q_OBJECT
private slots:
    void steps_data()
    {
        QTest::addColumn<QString>("keyString");
        QTest::addColumn<QString>("steps");
        // clang-format off
        // Runs of text go whole; named keys split them.
        QTest::newRow("text, Tab, text, Enter") << "ID123{TAB}山田{ENTER}次" << "ID123 <ff09/15/0> 山田 <ff0d/28/0> 次";
        QTest::newRow("reserved characters") << "{+}{^}{%}{~}{(}{)}" << "+^%~()";
        QTest::newRow("outside the BMP") << QString::fromUtf8("𠮷野家") << QString::fromUtf8("𠮷野家");
        QTest::newRow("repeated key") << "{BS 2}" << "<ff08/14/0> <ff08/14/0>";
        // A character under a modifier is a key on its place, a letter with Shift its capital.
        QTest::newRow("Ctrl+C") << "^c" << "<63/46/4>";
        QTest::newRow("Shift+a") << "+a" << "<41/30/1>";
        QTest::newRow("Ctrl+Shift+Z") << "^+z" << "<5a/44/5>";
        QTest::newRow("Alt+F4") << "%{F4}" << "<ffc1/62/8>";
        QTest::newRow("group shares the modifier") << "+(ab)c" << "<41/30/1> <42/48/1> c";
        QTest::newRow("kana under Ctrl has no place") << "^あ" << "<1003042/0/4>";
        QTest::newRow("keypad and F16") << "{ADD}{F16}" << "<ffab/78/0> <ffcd/186/0>";
        // clang-format on
    }
    void steps()
    {
        QFETCH(QString, keyString);
        QFETCH(QString, steps);
        const common::ParsedKeyString parsed = common::parseKeyString(keyString);
        QVERIFY2(parsed.ok(), qPrintable(parsed.error));
        QCOMPARE(described(engineSteps(parsed.strokes)), steps);
    }
};

QTEST_APPLESS_MAIN(TestEngineSteps)
#include "tst_enginesteps.moc"
