// The key transitions the Windows typer sends for parsed key strings.
#include "keystring.h"
#include "keytyper_win32_events.h"

#include <QTest>

namespace {

// "v10+ v10- u3042+ u3042-": virtual key or UTF-16 unit in hex, down (+) or up (-).
QString describe(const std::vector<platform::win32::RawKeyEvent> &events)
{
    QStringList parts;
    for (const auto &e : events)
        parts.append(QStringLiteral("%1%2%3")
                         .arg(QLatin1Char(e.kind == platform::win32::RawKeyEvent::Kind::Unicode ? 'u' : 'v'))
                         .arg(e.code, 0, 16)
                         .arg(QLatin1Char(e.keyUp ? '-' : '+')));
    return parts.join(QLatin1Char(' '));
}

}  // namespace

class TestWin32KeyEvents : public QObject {
    Q_OBJECT
private slots:
    void events_data();
    void events();
};

// clang-format off
void TestWin32KeyEvents::events_data()
{
    QTest::addColumn<QString>("keyString");
    QTest::addColumn<QString>("events");
    QTest::newRow("kana as unicode") << "あ" << "u3042+ u3042-";
    QTest::newRow("ascii as unicode") << "a" << "u61+ u61-";
    QTest::newRow("full-width escaped") << "{＋}" << "uff0b+ uff0b-";
    QTest::newRow("surrogate pair") << QString::fromUtf8("𠮷") << "ud842+ ud842- udfb7+ udfb7-";
    QTest::newRow("enter and tab") << "~{TAB}" << "vd+ vd- v9+ v9-";
    QTest::newRow("tab character") << "\t" << "v9+ v9-";
    QTest::newRow("shift group") << "+(ab)" << "v10+ u61+ u61- u62+ u62- v10-";
    QTest::newRow("ctrl alt delete") << "^%{DEL}" << "v11+ v12+ v2e+ v2e- v12- v11-";
    QTest::newRow("function keys") << "{F1}{F16}" << "v70+ v70- v7f+ v7f-";
    QTest::newRow("navigation") << "{PGUP}{PGDN}{HOME}{END}{INS}" << "v21+ v21- v22+ v22- v24+ v24- v23+ v23- v2d+ v2d-";
    QTest::newRow("arrows") << "{LEFT}{UP}{RIGHT}{DOWN}" << "v25+ v25- v26+ v26- v27+ v27- v28+ v28-";
    QTest::newRow("locks") << "{CAPSLOCK}{NUMLOCK}{SCROLLLOCK}" << "v14+ v14- v90+ v90- v91+ v91-";
    QTest::newRow("others") << "{BREAK}{PRTSC}{HELP}{ESC}{BS}" << "v3+ v3- v2c+ v2c- v2f+ v2f- v1b+ v1b- v8+ v8-";
    QTest::newRow("keypad") << "{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}" << "v6b+ v6b- v6d+ v6d- v6a+ v6a- v6f+ v6f-";
}
// clang-format on

void TestWin32KeyEvents::events()
{
    QFETCH(QString, keyString);
    QFETCH(QString, events);
    const common::ParsedKeyString parsed = common::parseKeyString(keyString);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(describe(platform::toRawKeyEvents(parsed.strokes)), events);
}

QTEST_GUILESS_MAIN(TestWin32KeyEvents)
#include "tst_win32keyevents.moc"
