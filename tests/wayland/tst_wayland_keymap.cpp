// The keymaps and typing plans of the Wayland typer, read back with libxkbcommon as a
// client reads them; and the order of activations the task switch goes back through.
#include "activationhistory.h"
#include "waylandkeymap.h"

#include <QTest>
#include <xkbcommon/xkbcommon.h>

using namespace common;
using namespace platform;
using namespace platform::wayland;

namespace {

struct Compiled {
    xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap *keymap = nullptr;
    explicit Compiled(const QByteArray &text)
    {
        keymap = xkb_keymap_new_from_string(context, text.constData(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                            XKB_KEYMAP_COMPILE_NO_FLAGS);
    }
    ~Compiled()
    {
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }
    // The character a tap of the key gives, with Shift held or not.
    char32_t character(quint32 keycode, bool shift) const
    {
        xkb_state *state = xkb_state_new(keymap);
        if (shift)
            xkb_state_update_mask(state, 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT), 0, 0, 0, 0, 0);
        const char32_t c = xkb_state_key_get_utf32(state, keycode);
        xkb_state_unref(state);
        return c;
    }
    QString keysymName(quint32 keycode) const
    {
        const xkb_keysym_t *syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap, keycode, 0, 0, &syms) != 1)
            return QString();
        char name[64];
        xkb_keysym_get_name(syms[0], name, sizeof name);
        return QString::fromLatin1(name);
    }
};

QList<char32_t> codePoints(const QString &text)
{
    QList<char32_t> points;
    for (char32_t c : text.toUcs4())
        points.append(c);
    return points;
}

QList<KeyStroke> textStrokes(const QString &text)
{
    QList<KeyStroke> strokes;
    for (char32_t c : text.toUcs4())
        strokes.append(KeyStroke::text(c));
    return strokes;
}

QString distinct(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(0x4e00 + i);
    return text;
}

}  // namespace

class TestWaylandKeymap : public QObject {
    Q_OBJECT
private slots:
    void charactersComeBack_data();
    void charactersComeBack();
    void namedKeysAndModifiers();
    void batches_data();
    void batches();
    void modifiers_data();
    void modifiers();
    void history_data();
    void history();
};

void TestWaylandKeymap::charactersComeBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("japanese") << QStringLiteral("こんにちは、世界！ｶﾀｶﾅ～");
    QTest::newRow("ascii both cases") << QStringLiteral("aZz0 ~!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}");
    QTest::newRow("latin-1 and beyond the basic plane") << QStringLiteral("é¥ß€𠮷😀");
    QTest::newRow("a full keymap") << distinct(characterCapacity());
}

void TestWaylandKeymap::charactersComeBack()
{
    QFETCH(QString, text);
    // The places as the plan fills them: both cases of a letter share one.
    QList<char32_t> places;
    for (char32_t c : codePoints(text)) {
        const char32_t slot = (c >= U'A' && c <= U'Z') ? c + 32 : c;
        if (!places.contains(slot))
            places.append(slot);
    }
    QVERIFY(places.size() <= characterCapacity());
    const Compiled compiled(keymapText(places));
    QVERIFY(compiled.keymap);
    for (char32_t c : codePoints(text)) {
        const CharacterKey key = characterKey(places, c);
        QVERIFY2(key.keycode >= FirstKeycode && key.keycode <= LastKeycode, qPrintable(QString::number(c, 16)));
        QCOMPARE(compiled.character(key.keycode, key.shift), c);
    }
}

void TestWaylandKeymap::namedKeysAndModifiers()
{
    const Compiled compiled(keymapText(codePoints(QStringLiteral("あ"))));
    QVERIFY(compiled.keymap);
    for (int k = int(NamedKey::Enter); k <= int(NamedKey::Divide); ++k) {
        const NamedKey key = NamedKey(k);
        QCOMPARE(compiled.keysymName(namedKeycode(key)), namedKeysym(key));
    }
    // The mask sent with a modifier key is the modifier that key sets in the keymap.
    // clang-format off
    const struct { Modifier modifier; const char *name; } modifiers[] = {
        {Modifier::Shift, XKB_MOD_NAME_SHIFT}, {Modifier::Ctrl, XKB_MOD_NAME_CTRL}, {Modifier::Alt, XKB_MOD_NAME_ALT}};
    for (const auto &m : modifiers) {
        QCOMPARE(modifierMask(m.modifier), 1u << xkb_keymap_mod_get_index(compiled.keymap, m.name));
        xkb_state *state = xkb_state_new(compiled.keymap);
        xkb_state_update_key(state, modifierKeycode(m.modifier), XKB_KEY_DOWN);
        QCOMPARE(xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED), modifierMask(m.modifier));
        xkb_state_unref(state);
    }
    // clang-format on
    QCOMPARE(compiled.character(namedKeycode(NamedKey::Enter), false), U'\r');
}

void TestWaylandKeymap::batches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("keymaps");
    QTest::addColumn<QString>("wholeKey");  // the key the text is a piece of
    QTest::newRow("empty") << QString() << 10 << 1 << QString();
    QTest::newRow("repeats take one place") << QStringLiteral("ああああいいい") << 2 << 1 << QString();
    QTest::newRow("one more than fits") << QStringLiteral("abc") << 2 << 2 << QString();
    QTest::newRow("letter cases share a place") << QStringLiteral("aAbB") << 2 << 1 << QString();
    QTest::newRow("500 distinct") << distinct(500) << characterCapacity()
                                  << (500 + characterCapacity() - 1) / characterCapacity() << QString();
    QTest::newRow("piece of a key that fits") << QStringLiteral("山田") << 8 << 1 << QStringLiteral("ID123山田次");
    QTest::newRow("piece of a key too big") << QStringLiteral("山田") << 2 << 1 << QStringLiteral("ID123山田次");
}

void TestWaylandKeymap::batches()
{
    QFETCH(QString, text);
    QFETCH(int, capacity);
    QFETCH(int, keymaps);
    QFETCH(QString, wholeKey);
    const TypingPlan plan = planTyping(textStrokes(text), capacity, textStrokes(wholeKey));
    QVERIFY(plan.error.isEmpty());
    QCOMPARE(plan.keymaps.size(), keymaps);
    // Every piece of a key that fits one keymap is typed on the whole key's keymap.
    if (!wholeKey.isEmpty()) {
        const TypingPlan whole = planTyping(textStrokes(wholeKey), capacity);
        QCOMPARE(plan.keymaps.first() == whole.keymaps.first(), whole.keymaps.size() == 1);
    }
    // Played back against the keymaps, the taps give the text again.
    QString typed;
    int batch = 0;
    std::unique_ptr<Compiled> compiled = std::make_unique<Compiled>(plan.keymaps[0]);
    for (const TypingStep &step : plan.steps) {
        if (step.kind == TypingStep::NewBatch) {
            compiled = std::make_unique<Compiled>(plan.keymaps[++batch]);
            continue;
        }
        QCOMPARE(step.kind, TypingStep::Tap);
        typed += QString::fromUcs4(std::array<char32_t, 1>{compiled->character(step.keycode, step.shift)}.data(), 1);
    }
    QCOMPARE(batch, keymaps - 1);
    QCOMPARE(typed, text);
}

void TestWaylandKeymap::modifiers_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("steps");  // P/R code:mask, T code(+S), N
    const QString a = QString::number(characterKey({U'a'}, U'a').keycode);
    QTest::newRow("capital alone") << QStringLiteral("A") << QStringLiteral("T%1+S").arg(a);
    QTest::newRow("capital with shift held") << QStringLiteral("+A") << QStringLiteral("P50:1 T%1 R50:0").arg(a);
    QTest::newRow("ctrl alt") << QStringLiteral("^%a") << QStringLiteral("P37:4 P64:12 T%1 R64:4 R37:0").arg(a);
    QTest::newRow("named key with shift") << QStringLiteral("+{TAB}") << QStringLiteral("P50:1 T23 R50:0");
}

void TestWaylandKeymap::modifiers()
{
    QFETCH(QString, keys);
    QFETCH(QString, steps);
    const ParsedKeyString parsed = parseKeyString(keys);
    QVERIFY(parsed.ok());
    const TypingPlan plan = planTyping(parsed.strokes);
    QVERIFY(plan.error.isEmpty());
    QStringList seen;
    for (const TypingStep &s : plan.steps) {
        switch (s.kind) {
        case TypingStep::Press: seen << QStringLiteral("P%1:%2").arg(s.keycode).arg(s.modifiers); break;
        case TypingStep::Release: seen << QStringLiteral("R%1:%2").arg(s.keycode).arg(s.modifiers); break;
        case TypingStep::Tap: seen << QStringLiteral("T%1%2").arg(s.keycode).arg(s.shift ? "+S" : ""); break;
        case TypingStep::NewBatch: seen << QStringLiteral("N"); break;
        }
    }
    QCOMPARE(seen.join(u' '), steps);
}

void TestWaylandKeymap::history_data()
{
    // Windows are letters; "+x" x becomes active, "-x" x is reported inactive, "x!" x closes.
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("previous");
    QTest::newRow("nothing") << QString() << QString();
    QTest::newRow("one window") << QStringLiteral("+a") << QString();
    QTest::newRow("back to the one before") << QStringLiteral("+a +b +c") << QStringLiteral("b");
    QTest::newRow("reactivated moves ahead") << QStringLiteral("+a +b +a +c") << QStringLiteral("a");
    QTest::newRow("closed one skipped") << QStringLiteral("+a +b +c b!") << QStringLiteral("a");
    QTest::newRow("never active counts oldest") << QStringLiteral("-x +a +b") << QStringLiteral("a");
    QTest::newRow("only listed, none active") << QStringLiteral("-x -y") << QStringLiteral("x");
    QTest::newRow("deactivation order either way") << QStringLiteral("+a +b -a +c -b") << QStringLiteral("b");
}

void TestWaylandKeymap::history()
{
    QFETCH(QString, events);
    QFETCH(QString, previous);
    static const char names[] = "abcxy";
    auto window = [](QChar c) {
        return static_cast<ActivationHistory::Window>(names + QByteArray(names).indexOf(char(c.unicode())));
    };
    ActivationHistory h;
    for (const QString &e : events.split(u' ', Qt::SkipEmptyParts)) {
        if (e.endsWith(u'!'))
            h.closed(window(e[0]));
        else
            h.seen(window(e[1]), e[0] == u'+');
    }
    QCOMPARE(h.previous(), previous.isEmpty() ? nullptr : window(previous[0]));
}

QTEST_APPLESS_MAIN(TestWaylandKeymap)
#include "tst_wayland_keymap.moc"
