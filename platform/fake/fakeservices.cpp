#include "fakeservices.h"

namespace platform::fake {

void RecordingKeyEvents::keybdEvent(quint8 virtualKey, quint8 scanCode, quint32 flags, quintptr extraInfo)
{
    events.append({virtualKey, scanCode, flags, extraInfo});
    log.append(QStringLiteral("key %1 %2").arg(virtualKey).arg(flags));
}

void RecordingKeyEvents::sleep(int milliseconds)
{
    sleeps.append(milliseconds);
    log.append(QStringLiteral("sleep %1").arg(milliseconds));
}

quint8 RecordingKeyEvents::heldModifiers()
{
    ++modifierQueries;
    if (userHeld == 0 || (heldForPolls >= 0 && modifierQueries > heldForPolls))
        return 0;
    log.append(QStringLiteral("held %1").arg(userHeld));
    return userHeld;
}

KeyTyper::Result RecordingKeyTyper::type(const QList<KeyStroke> &strokes, bool wait)
{
    calls.append({strokes, wait});
    if (sharedLog)
        sharedLog->append(typedLine(strokes));
    if (!refuseWith.isEmpty())
        return {false, refuseWith};
    return {};
}

QString RecordingKeyTyper::typedLine(const QList<KeyStroke> &strokes)
{
    return QStringLiteral("type ") + common::describeStrokes(strokes);
}

QString RecordingKeyTyper::typedLine(const QString &keyString)
{
    const common::ParsedKeyString parsed = common::parseKeyString(keyString);
    Q_ASSERT(parsed.ok());
    return typedLine(parsed.strokes);
}

bool RecordingClipboard::setText(const QString &text)
{
    if (failing)
        return false;
    texts.append(text);
    return true;
}

bool RecordingDocumentOpener::open(const QString &pathOrUrl)
{
    opened.append(pathOrUrl);
    return !failing;
}

bool RecordingProcessStarter::startCommandLine(const QString &commandLine, const QString &programDir)
{
    calls.append({commandLine, programDir});
    return !failing;
}

InputMethod::Suspension RecordingInputMethod::suspend()
{
    ++suspends;
    m_switchedOff = false;
    if (!on)
        return {};
    const QString refusal = suspends > 1 && !refuseLaterWith.isEmpty() ? refuseLaterWith : refuseWith;
    if (!refusal.isEmpty()) {
        note(QStringLiteral("ime refused"));
        return {false, refusal};
    }
    on = false;
    m_switchedOff = true;
    note(QStringLiteral("ime off"));
    return {};
}

InputMethod::Resumption RecordingInputMethod::resume()
{
    ++resumes;
    if (!m_switchedOff)
        return {};
    m_switchedOff = false;
    if (!refuseBackWith.isEmpty()) {
        note(QStringLiteral("ime stays off"));
        return {false, refuseBackWith};
    }
    on = true;
    note(QStringLiteral("ime back"));
    return {};
}

void RecordingInputMethod::note(const QString &line)
{
    log.append(line);
    if (sharedLog)
        sharedLog->append(line);
}

Services FakeServiceSet::services()
{
    return {&keyEvents, &keyTyper, &clipboard, &documentOpener, &processStarter, &desktopMetrics, &inputMethod};
}

}  // namespace platform::fake
