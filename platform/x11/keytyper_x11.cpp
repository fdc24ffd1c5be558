// Typing through XTest. Keys the layout has are pressed where they are; every other
// character is put on spare keycodes, as many at once as there are spare codes, and
// the mapping is put back afterwards.
#include "../modifierwait.h"
#include "services_x11.h"

#include <QSet>
#include <QThread>

// X11 headers last: they define macros (Bool, Status) that Qt headers reject.
#include "x11clientsync.h"
#include "x11connection.h"
#include "x11keyboardmap.h"
#include "x11modifiers.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace platform {

namespace {

using x11::KeyboardMap;
using x11::KeyLocation;

constexpr int PingTimeoutMs = 2000;
constexpr int NoPingWaitMs = 50;

KeySym keysymFor(NamedKey key)
{
    switch (key) {
    case NamedKey::Enter: return XK_Return;
    case NamedKey::Tab: return XK_Tab;
    case NamedKey::Escape: return XK_Escape;
    case NamedKey::Backspace: return XK_BackSpace;
    case NamedKey::Delete: return XK_Delete;
    case NamedKey::Insert: return XK_Insert;
    case NamedKey::Home: return XK_Home;
    case NamedKey::End: return XK_End;
    case NamedKey::PageUp: return XK_Prior;
    case NamedKey::PageDown: return XK_Next;
    case NamedKey::Up: return XK_Up;
    case NamedKey::Down: return XK_Down;
    case NamedKey::Left: return XK_Left;
    case NamedKey::Right: return XK_Right;
    case NamedKey::Break: return XK_Break;
    case NamedKey::CapsLock: return XK_Caps_Lock;
    case NamedKey::NumLock: return XK_Num_Lock;
    case NamedKey::ScrollLock: return XK_Scroll_Lock;
    case NamedKey::PrintScreen: return XK_Print;
    case NamedKey::Help: return XK_Help;
    case NamedKey::Add: return XK_KP_Add;
    case NamedKey::Subtract: return XK_KP_Subtract;
    case NamedKey::Multiply: return XK_KP_Multiply;
    case NamedKey::Divide: return XK_KP_Divide;
    default: break;
    }
    const int f = static_cast<int>(key) - static_cast<int>(NamedKey::F1);
    return XK_F1 + f;
}

KeySym keysymFor(Modifier modifier)
{
    switch (modifier) {
    case Modifier::Shift: return XK_Shift_L;
    case Modifier::Ctrl: return XK_Control_L;
    case Modifier::Alt: return XK_Alt_L;
    }
    return NoSymbol;
}

// Latin-1 keysyms equal their code points; everything else has a Unicode keysym.
KeySym keysymFor(char32_t c)
{
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa0 && c <= 0xff))
        return c;
    return 0x01000000 + c;
}

// One step of playback. A tap on a borrowed code names its keysym; the batch it
// belongs to decides the keycode.
struct Step {
    enum Kind { Press, Release, Tap, NewBatch } kind;
    KeyCode code = 0;            // Press, Release, Tap on a key of the layout
    KeySym borrowed = NoSymbol;  // Tap on a spare code
    bool shift = false;          // Tap needs Shift (level 2)
};

struct Plan {
    QList<Step> steps;
    QList<QList<KeySym>> batches;  // keysyms to borrow codes for, per batch
    QString error;
};

Plan makePlan(const QList<KeyStroke> &strokes, const KeyboardMap &map)
{
    Plan plan;
    plan.batches.append(QList<KeySym>());
    QSet<KeySym> inBatch;
    const int capacity = map.spareCodes().size();
    for (const KeyStroke &k : strokes) {
        if (k.kind == KeyStroke::ModifierDown || k.kind == KeyStroke::ModifierUp) {
            const KeyLocation at = map.find(keysymFor(k.modifier));
            if (at.code == 0 || at.shift) {
                plan.error = QStringLiteral("修飾キー（Shift、Ctrl、Alt）がキーボード配置にありません");
                return plan;
            }
            plan.steps.append(Step{k.kind == KeyStroke::ModifierDown ? Step::Press : Step::Release, at.code});
            continue;
        }
        const KeySym sym = k.kind == KeyStroke::Text ? keysymFor(k.character) : keysymFor(k.key);
        const KeyLocation at = k.kind == KeyStroke::Text ? map.findCharacter(sym) : map.find(sym);
        if (at.code != 0) {
            plan.steps.append(Step{Step::Tap, at.code, NoSymbol, at.shift});
            continue;
        }
        if (capacity == 0) {
            plan.error = QStringLiteral("文字を割り当てる空きキーコードがありません");
            return plan;
        }
        if (!inBatch.contains(sym)) {
            if (inBatch.size() == capacity) {
                plan.steps.append(Step{Step::NewBatch});
                plan.batches.append(QList<KeySym>());
                inBatch.clear();
            }
            inBatch.insert(sym);
            plan.batches.last().append(sym);
        }
        plan.steps.append(Step{Step::Tap, 0, sym});
    }
    return plan;
}

// Plays a plan back; on every way out the mapping is restored and nothing stays pressed.
class Playback {
public:
    Playback(Display *display, KeyboardMap &map, x11::ClientSync &sync) : display(display), map(map), sync(sync) {}

    ~Playback()
    {
        for (KeyCode code : pressed)
            XTestFakeKeyEvent(display, code, False, CurrentTime);
        pressed.clear();
        map.restore();
        XSync(display, False);
    }

    void run(const Plan &plan, bool wait)
    {
        int batch = 0;
        startBatch(plan.batches[batch]);
        const KeyLocation shiftKey = map.find(XK_Shift_L);
        for (const Step &step : plan.steps) {
            switch (step.kind) {
            case Step::Press: press(step.code); break;
            case Step::Release: release(step.code); break;
            case Step::NewBatch:
                // The client must have translated the keys on the borrowed codes
                // before those codes get other symbols.
                sync.waitForActiveClient(PingTimeoutMs, NoPingWaitMs);
                startBatch(plan.batches[++batch]);
                break;
            case Step::Tap: {
                const KeyCode code = step.borrowed != NoSymbol ? borrowedCodes.value(step.borrowed) : step.code;
                const bool addShift = step.shift && !pressed.contains(shiftKey.code);
                if (addShift)
                    press(shiftKey.code);
                press(code);
                release(code);
                if (addShift)
                    release(shiftKey.code);
                break;
            }
            }
        }
        XSync(display, False);
        // Before the destructor restores the mapping the client must have translated
        // every key. A second round trip lets it also hand the keys to its widgets,
        // which it does before reading further events.
        if (wait || mappingChanged)
            sync.waitForActiveClient(PingTimeoutMs, mappingChanged ? NoPingWaitMs : 0, wait ? 2 : 1);
    }

private:
    Display *display;
    KeyboardMap &map;
    x11::ClientSync &sync;
    QList<KeyCode> pressed;
    QHash<KeySym, KeyCode> borrowedCodes;
    bool mappingChanged = false;

    void startBatch(const QList<KeySym> &syms)
    {
        borrowedCodes.clear();
        QList<std::pair<KeyCode, KeySym>> assignments;
        for (int i = 0; i < syms.size(); ++i) {
            assignments.append({map.spareCodes()[i], syms[i]});
            borrowedCodes.insert(syms[i], map.spareCodes()[i]);
        }
        if (assignments.isEmpty())
            return;
        map.assign(assignments);
        mappingChanged = true;
        // The server must have the new mapping before the first key of the batch.
        XSync(display, False);
    }

    void press(KeyCode code)
    {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        pressed.append(code);
    }

    void release(KeyCode code)
    {
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        pressed.removeOne(code);
    }
};

}  // namespace

KeyTyper::Result X11KeyTyper::type(const QList<KeyStroke> &strokes, bool wait)
{
    if (strokes.isEmpty())
        return {};

    const x11::DisplayConnection connection;
    Display *display = connection.get();
    if (!display)
        return {false, QStringLiteral("X サーバーに接続できません")};
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        return {false, QStringLiteral("X サーバーに XTEST 拡張がないため入力できません")};
    // Not one character while the user holds a modifier: "a" with Ctrl held is Ctrl+A.
    const quint8 held = waitForModifierRelease([display] { return x11::heldModifiers(display); },
                                               [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); });
    if (held != 0)
        return {false, modifiersStillHeldMessage(held)};

    const x11::ErrorTrap errors(display);
    Result result;
    {
        KeyboardMap map(display);
        if (!map.isValid()) {
            result = {false, QStringLiteral("キーボード配置を読めません")};
        } else {
            const Plan plan = makePlan(strokes, map);
            if (!plan.error.isEmpty()) {
                result = {false, plan.error};
            } else {
                x11::ClientSync sync(display);
                Playback playback(display, map, sync);
                playback.run(plan, wait);
            }
        }
    }
    if (result.ok && errors.errors() > 0)
        result = {false, QStringLiteral("X サーバーがキー入力の要求を拒否しました")};
    return result;
}

}  // namespace platform
