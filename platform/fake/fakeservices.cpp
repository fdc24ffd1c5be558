#include "fakeservices.h"

#include "../keystring.h"

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

KeyTyper::Result RecordingKeyTyper::sendKeys(const QString &keyString, bool wait)
{
    calls.append({keyString, wait});
    if (sharedLog)
        sharedLog->append(QStringLiteral("type ") + keyString);
    if (!refuseWith.isEmpty())
        return {false, refuseWith};
    if (parseKeys) {
        const ParsedKeyString parsed = parseKeyString(keyString);
        if (!parsed.ok())
            return {false, parsed.error};
        strokes.append(describeStrokes(parsed.strokes));
    }
    return {};
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

Services FakeServiceSet::services()
{
    return {&keyEvents, &keyTyper, &clipboard, &documentOpener, &processStarter, &desktopMetrics};
}

} // namespace platform::fake
