#pragma once
// Recording fakes of the platform services, for tests: they remember every call.

#include "../services.h"
#include "twips.h"

#include <QList>

namespace platform::fake {

class RecordingKeyEvents : public KeyEvents {
public:
    struct Event {
        quint8 virtualKey;
        quint8 scanCode;
        quint32 flags;
        quintptr extraInfo;
        bool operator==(const Event &) const = default;
    };
    QList<Event> events;
    QList<int> sleeps;
    // Everything in call order: "key 18 0", "sleep 100", ...
    QStringList log;

    // The user's modifier keys, scripted: heldModifiers() reports userHeld for the
    // first heldForPolls questions (all of them while heldForPolls is negative), then
    // nothing. Each answer with a key held is logged as "held <bits>".
    quint8 userHeld = 0;
    int heldForPolls = -1;
    int modifierQueries = 0;

    void keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo) override;
    void sleep(int milliseconds) override;
    quint8 heldModifiers() override;
};

class RecordingKeyTyper : public KeyTyper {
public:
    struct Call {
        QList<KeyStroke> strokes;
        bool wait;
    };
    QList<Call> calls;
    // When set, every call is refused with this reason.
    QString refuseWith;
    QStringList *sharedLog = nullptr;  // optional: appends typedLine() of each call

    Result type(const QList<KeyStroke> &strokes, bool wait) override;
    // The log line of one call: "type " and the strokes in readable form (describeStrokes).
    static QString typedLine(const QList<KeyStroke> &strokes);
    // The log line of typing keyString, which must read.
    static QString typedLine(const QString &keyString);
};

class RecordingClipboard : public Clipboard {
public:
    QStringList texts;
    bool failing = false;
    bool setText(const QString &text) override;
};

class RecordingDocumentOpener : public DocumentOpener {
public:
    QStringList opened;
    bool failing = false;
    bool open(const QString &pathOrUrl) override;
};

class RecordingProcessStarter : public ProcessStarter {
public:
    struct Call {
        QString commandLine;
        QString programDir;
    };
    QList<Call> calls;
    bool failing = false;
    bool startCommandLine(const QString &commandLine, const QString &programDir) override;
};

class FixedDesktopMetrics : public DesktopMetrics {
public:
    int widthTwips = 1024 * common::TwipsPerPixel;
    int heightTwips = 768 * common::TwipsPerPixel;
    int desktopWidthTwips() override { return widthTwips; }
    int desktopHeightTwips() override { return heightTwips; }
};

// An input method that is on or off, scripted. Logs "ime off" for a suspend that
// switched it off, "ime refused" for one that could not, and "ime back" for a resume
// that put it back, into its own log and sharedLog when set.
class RecordingInputMethod : public InputMethod {
public:
    bool on = false;
    QString refuseWith;       // when set, an input method that is on cannot be switched off
    QString refuseBackWith;   // when set, one switched off cannot be put back
    QString refuseLaterWith;  // when set, refuses as refuseWith from the second suspend on
    QStringList log;
    QStringList *sharedLog = nullptr;
    int suspends = 0;
    int resumes = 0;

    Suspension suspend() override;
    Resumption resume() override;

private:
    void note(const QString &line);
    bool m_switchedOff = false;
};

// All fakes in one bundle.
class FakeServiceSet : public ServiceSet {
public:
    RecordingKeyEvents keyEvents;
    RecordingKeyTyper keyTyper;
    RecordingClipboard clipboard;
    RecordingDocumentOpener documentOpener;
    RecordingProcessStarter processStarter;
    FixedDesktopMetrics desktopMetrics;
    RecordingInputMethod inputMethod;
    Services services() override;
};

}  // namespace platform::fake
