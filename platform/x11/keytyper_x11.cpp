// Typing through XTest. Keys the layout has are pressed where they are; every other
// character is put on a spare keycode (see KeySlots), where it stays for a while after
// the last key, since a receiver may look a keycode up long after the key went out.
#include "../modifierwait.h"
#include "services_x11.h"
#include "enginesteps.h"

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

// X11 headers last: they define macros (Bool, Status) that Qt headers reject.
#include "keyslots.h"
#include "receiverprocess.h"
#include "x11clientsync.h"
#include "x11connection.h"
#include "x11keyboardmap.h"
#include "x11modifiers.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace platform {

namespace {

using x11::KeyboardMap;
using x11::KeyLocation;
using x11::KeySlots;

// A place on a spare keycode gets another character only once its last key is this old
// (ms) and, where the receiver answers pings, a ping sent after it came back, and while
// the receiver's process waits for input. Where that process is unknown (a program on
// another machine), age must do more of the work.
// A receiver on a busy machine (or one whose input method forwards keys back to it, as
// GTK's X input method does) looks a keycode up hundreds of ms after its key. A window
// that answers no pings (Java's) has the same hold: its toolkit threads falling idle
// show it has translated its keys.
constexpr int HoldMs = 300;
constexpr int HoldUnknownProcessMs = 600;
constexpr int HoldUnknownProcessWithoutPingMs = 1000;
// A receiver that reads nothing for this long (ms) while a key waits for a free place:
// the rest of the key is not typed.
constexpr int MostWaitForPlaceMs = 8000;
// Nor while the receiver's process is still at work on input, for at most this long (ms):
// some programs have threads that run for other reasons. A stopped one is waited for to
// the end.
constexpr int MostWaitForIdleMs = 2000;
constexpr int IdlePollMs = 5;
constexpr int PingTimeoutMs = 1000;
constexpr int NoPingWaitMs = 50;
// Keys typed one at a time wait at most this long (ms) for the ping and then for the
// receiver to fall idle: a busy receiver slows a key down, it never stops it.
constexpr int OneKeyMostWaitMs = 200;
// Between keystrokes (ms). Some receivers reorder or drop keys that come with no gap: an
// Enter overtaking the characters before it, repeats of one key merged by an input
// method's frontend. A longer gap around repeats and named keys, a short one around Shift.
constexpr int GapMs = 2;
constexpr int CarefulGapMs = 12;
constexpr int ShiftGapMs = 1;  // between Shift and the key it shifts
// The borrowed characters go back this long (ms) after the last key.
constexpr int RestoreAfterMs = 3000;
// ...or later, while the receiver is still at work or stopped: at most this often, this far apart.
constexpr int MostRestorePostponements = 60;
constexpr int RestoreRetryMs = 1000;

qint64 now()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

void sleepMs(qint64 ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
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

// Case matters to Caps Lock: such a character needs a keycode of its own.
bool hasCase(quint32 sym)
{
    KeySym lower = NoSymbol, upper = NoSymbol;
    XConvertCase(sym, &lower, &upper);
    return lower != upper;
}

// One step of playback.
struct Step {
    enum Kind { Press, Release, Tap, TapBorrowed } kind;
    KeyCode code = 0;       // Press, Release, Tap on a key of the layout
    KeySym sym = NoSymbol;  // TapBorrowed: the character on a spare code
    bool shift = false;     // Tap needs Shift (level 2)
    bool named = false;     // Tap of a named key (Enter, Tab, ...)
};

struct Plan {
    QList<Step> steps;
    QString error;
};

Plan makePlan(const QList<KeyStroke> &strokes, const KeyboardMap &map)
{
    Plan plan;
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
        const bool text = k.kind == KeyStroke::Text;
        const KeySym sym = text ? freedesktop::keysymOf(k.character) : freedesktop::keysymOf(k.key);
        const KeyLocation at = text ? map.findCharacter(sym) : map.find(sym);
        if (at.code != 0) {
            plan.steps.append(Step{Step::Tap, at.code, NoSymbol, at.shift, !text});
            continue;
        }
        if (map.spareCodes().isEmpty()) {
            plan.error = QStringLiteral("文字を割り当てる空きキーコードがありません");
            return plan;
        }
        plan.steps.append(Step{Step::TapBorrowed, 0, sym});
    }
    return plan;
}

// Plays a plan back; on every way out nothing stays pressed.
class Playback {
public:
    Playback(Display *display, KeyboardMap &map, KeySlots &keySlots, x11::ClientSync &sync,
             const x11::ReceiverProcesses &receiver, bool oneKeyAtATime)
        : display(display),
          map(map),
          keySlots(keySlots),
          sync(sync),
          shiftKey(map.find(XK_Shift_L).code),
          receiver(receiver),
          oneKeyAtATime(oneKeyAtATime)
    {}

    ~Playback()
    {
        for (KeyCode code : pressed)
            XTestFakeKeyEvent(display, code, False, CurrentTime);
        XSync(display, False);
    }

    KeyTyper::Result run(const Plan &plan, bool wait)
    {
        KeyCode previous = 0;
        bool previousNamed = false;
        for (qsizetype i = 0; i < plan.steps.size(); ++i) {
            const Step &step = plan.steps[i];
            if (step.kind == Step::Press || step.kind == Step::Release) {
                if (step.kind == Step::Press)
                    press(step.code);
                else
                    release(step.code);
                pause(CarefulGapMs);
                previous = 0;
                continue;
            }
            KeyCode code = step.code;
            bool shift = step.shift;
            if (step.kind == Step::TapBorrowed) {
                if (!keySlots.find(step.sym)) {
                    const QString why = makePlace(plan, i);
                    if (!why.isEmpty())
                        return {false, why};
                }
                const KeySlots::Place place = *keySlots.find(step.sym);
                code = place.code;
                shift = place.shift;
            }
            const bool careful = code == previous || step.named || previousNamed;
            if (i > 0)
                pause(careful ? CarefulGapMs : GapMs);
            tap(code, shift);
            if (step.named)
                waitUntilHandled();
            else if (oneKeyAtATime)
                waitUntilHandled(OneKeyMostWaitMs, OneKeyMostWaitMs, true);
            if (step.kind == Step::TapBorrowed)
                keySlots.used(step.sym, now());
            previous = code;
            previousNamed = step.named;
        }
        XSync(display, False);
        if (wait)
            sync.waitForActiveClient(PingTimeoutMs * 2, NoPingWaitMs, 2);
        return {};
    }

private:
    Display *display;
    KeyboardMap &map;
    KeySlots &keySlots;
    x11::ClientSync &sync;
    KeyCode shiftKey;
    QList<KeyCode> pressed;
    const x11::ReceiverProcesses &receiver;
    const bool oneKeyAtATime;
    bool pings = true;       // the receiver answers pings (until it shows otherwise)
    qint64 roundTripMs = 0;  // how long the last answer took

    // Puts the character of step i, and as many of the next ones as fit, on spare codes,
    // waiting until places may change. Returns why not, or nothing. A character already
    // placed keeps its place while it is among the next ones.
    QString makePlace(const Plan &plan, qsizetype i)
    {
        QList<quint32> wanted, keep;
        for (qsizetype j = i; j < plan.steps.size() && wanted.size() + keep.size() < keySlots.capacity(); ++j) {
            const Step &s = plan.steps[j];
            if (s.kind != Step::TapBorrowed || wanted.contains(s.sym) || keep.contains(s.sym))
                continue;
            (keySlots.find(s.sym) ? keep : wanted).append(s.sym);
        }
        const qint64 deadline = now() + MostWaitForPlaceMs;
        const qint64 idleDeadline = now() + MostWaitForIdleMs;
        // Every change of the mapping goes to every program on the display, and some take
        // long over each (a window manager grabbing its shortcut keys anew, a toolkit
        // reading the whole mapping again): places change several at a time, a third of
        // those wanted (at most half of all). Waiting for more would slow typing down.
        const int enough = std::max(1, std::min<int>(static_cast<int>(wanted.size()) / 3, keySlots.capacity() / 2));
        for (;;) {
            const qint64 t = now();
            const qint64 hold =
                (receiver.known() ? HoldMs : (pings ? HoldUnknownProcessMs : HoldUnknownProcessWithoutPingMs)) +
                2 * roundTripMs;
            // Waiting on two looks a poll apart: one look can fall between two processes
            // handing the keys on (the receiver and its input method).
            x11::ReceiverState state = receiver.state();
            if (state == x11::ReceiverState::Waiting) {
                sleepMs(IdlePollMs);
                state = receiver.state();
            }
            const bool mayReuse = state == x11::ReceiverState::Waiting || state == x11::ReceiverState::Unknown ||
                                  (state == x11::ReceiverState::Working && t >= idleDeadline);
            const bool needsProof = pings && keySlots.waitsForProof(t, hold);
            const qint64 nextAge = keySlots.nextAgeAfter(t, hold);
            const int ready = keySlots.placeable(wanted, keep, {t, hold, pings, mayReuse});
            // Fewer only when waiting frees no more.
            if (ready >= enough || (ready > 0 && ((!needsProof && nextAge < 0) || t >= deadline))) {
                QList<std::pair<KeyCode, KeySlots::CodeSymbols>> changes;
                for (quint8 code : keySlots.place(wanted, keep, {t, hold, pings, mayReuse}))
                    changes.append({code, keySlots.symbolsOf(code)});
                map.write(changes);
                // The server must have the new mapping before the first key on it.
                XSync(display, False);
                // So must the receiver, on every connection it has: Chromium hands its keys to
                // GTK's input method with the character GDK's own connection finds on the
                // keycode. An answer to a ping sent after the change comes once the
                // receiver's loop has taken the change off the wire.
                if (pings)
                    pingReceiver(deadline);
                return {};
            }
            if (t >= deadline)
                return QStringLiteral("入力先のウィンドウがキーを読み取らないため、途中で入力を止めました");
            if (!mayReuse) {
                sleepMs(IdlePollMs);
                continue;
            }
            if (needsProof) {
                pingReceiver(deadline);
                continue;
            }
            sleepMs(std::max<qint64>(1, (nextAge < 0 ? deadline : std::min(nextAge, deadline)) - now()));
        }
    }

    // Once the receiver answers, it has read every key typed before the ping. Waits at
    // most PingTimeoutMs, and not past the deadline (ms on now()'s clock).
    void pingReceiver(qint64 deadline)
    {
        XSync(display, False);
        const qint64 sentAt = now();
        const int timeoutMs = static_cast<int>(std::clamp<qint64>(deadline - sentAt, 1, PingTimeoutMs));
        switch (sync.pingActiveClient(timeoutMs)) {
        case x11::ClientSync::Answer::Answered:
            keySlots.proven(sentAt);
            roundTripMs = std::min<qint64>(now() - sentAt, 1000);
            break;
        case x11::ClientSync::Answer::NoAnswer: break;
        default: pings = false; break;
        }
    }

    // A named key (Enter, Tab) may move the focus or start work that the keys after it
    // must not overtake: they wait until the receiver has read it (the ping) and is idle
    // again. Keys typed one at a time wait so after each key, with shorter bounds, and
    // for a second look: the input method's answer may still be on its way.
    void waitUntilHandled(int pingMs = PingTimeoutMs, int idleMs = MostWaitForIdleMs, bool secondLook = false)
    {
        XSync(display, False);
        if (pings) {
            const x11::ClientSync::Answer answer = sync.pingActiveClient(pingMs);
            pings = answer == x11::ClientSync::Answer::Answered || answer == x11::ClientSync::Answer::NoAnswer;
        }
        receiver.waitUntilWaiting(idleMs);
        if (secondLook) {
            sleepMs(IdlePollMs);
            receiver.waitUntilWaiting(idleMs);
        }
    }

    void pause(int ms)
    {
        XFlush(display);
        sleepMs(ms);
    }

    void tap(KeyCode code, bool shift)
    {
        const bool addShift = shift && !pressed.contains(shiftKey);
        if (addShift) {
            press(shiftKey);
            pause(ShiftGapMs);
        }
        press(code);
        release(code);
        if (addShift) {
            pause(ShiftGapMs);
            release(shiftKey);
        }
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

// The connection and the spare codes' characters, kept between keys until the restore.
struct X11KeyTyper::Borrowed {
    x11::DisplayConnection connection;
    KeyboardMap map{connection.get()};
    KeySlots keySlots{map.spareCodes(), hasCase};
    x11::ReceiverProcesses receiver;  // the process the last key went to
    int postponed = 0;                // restores put off while it was still at work
};

X11KeyTyper::X11KeyTyper()
{
    m_restoreTimer.setSingleShot(true);
    m_restoreTimer.setInterval(RestoreAfterMs);
    QObject::connect(&m_restoreTimer, &QTimer::timeout, [this] {
        // Not while the receiver is stopped or still at work on its keys.
        if (m_borrowed && m_borrowed->postponed < MostRestorePostponements &&
            m_borrowed->receiver.state() != x11::ReceiverState::Waiting &&
            m_borrowed->receiver.state() != x11::ReceiverState::Unknown) {
            ++m_borrowed->postponed;
            m_restoreTimer.start(RestoreRetryMs);
            return;
        }
        restoreKeyboard();
    });
}

X11KeyTyper::~X11KeyTyper() { restoreKeyboard(); }

void X11KeyTyper::restoreKeyboard()
{
    m_restoreTimer.stop();
    if (!m_borrowed)
        return;
    if (m_borrowed->map.stillCurrent())
        m_borrowed->map.restore();
    else
        m_borrowed->map.abandon();
    XSync(m_borrowed->connection.get(), False);
    m_borrowed.reset();
}

KeyTyper::Result X11KeyTyper::type(const QList<KeyStroke> &strokes, bool wait)
{
    if (strokes.isEmpty())
        return {};
    m_restoreTimer.stop();
    // Another program changed the mapping (a new layout): ours is gone with it.
    if (m_borrowed && !m_borrowed->map.stillCurrent()) {
        m_borrowed->map.abandon();
        m_borrowed.reset();
    }
    if (!m_borrowed) {
        Display *display = XOpenDisplay(nullptr);
        if (!display)
            return {false, QStringLiteral("X サーバーに接続できません")};
        int event = 0, error = 0, major = 0, minor = 0;
        const bool xtest = XTestQueryExtension(display, &event, &error, &major, &minor);
        XCloseDisplay(display);
        if (!xtest)
            return {false, QStringLiteral("X サーバーに XTEST 拡張がないため入力できません")};
        m_borrowed = std::make_unique<Borrowed>();
        if (!m_borrowed->connection || !m_borrowed->map.isValid()) {
            m_borrowed.reset();
            return {false, QStringLiteral("キーボード配置を読めません")};
        }
    } else {
        m_borrowed->map.readState();
    }
    Display *display = m_borrowed->connection.get();
    // Not one character while the user holds a modifier: "a" with Ctrl held is Ctrl+A.
    const quint8 held = waitForModifierRelease([display] { return x11::heldModifiers(display); },
                                               [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); });
    Result result;
    if (held != 0) {
        result = {false, modifiersStillHeldMessage(held)};
    } else {
        const x11::ErrorTrap errors(display);
        const Plan plan = makePlan(strokes, m_borrowed->map);
        if (!plan.error.isEmpty()) {
            result = {false, plan.error};
        } else {
            x11::ClientSync sync(display);
            m_borrowed->receiver = x11::ReceiverProcesses(static_cast<pid_t>(sync.activeClientPid()));
            m_borrowed->postponed = 0;
            Playback playback(display, m_borrowed->map, m_borrowed->keySlots, sync, m_borrowed->receiver,
                              m_oneKeyAtATime);
            result = playback.run(plan, wait);
        }
        if (result.ok && errors.errors() > 0)
            result = {false, QStringLiteral("X サーバーがキー入力の要求を拒否しました")};
    }
    if (m_borrowed->keySlots.isEmpty())
        restoreKeyboard();
    else
        m_restoreTimer.start();
    return result;
}

}  // namespace platform
