// Win32KeyTyper: parses the key string and hands the strokes to SendInput.
#include "services_win32.h"

#include "keytyper_win32_events.h"
#include "raw_win32.h"
#include "../modifierwait.h"

namespace platform {

KeyTyper::Result Win32KeyTyper::sendKeys(const QString &keyString, bool wait)
{
    const ParsedKeyString parsed = parseKeyString(keyString);
    if (!parsed.ok())
        return {false, parsed.error};
    if (parsed.strokes.isEmpty())
        return {};
    // Not one character while the user holds a modifier: "a" with Ctrl held is Ctrl+A.
    const quint8 held = waitForModifierRelease([] { return static_cast<quint8>(rawwin32::heldModifiers()); },
                                               [](int ms) { rawwin32::sleepMilliseconds(ms); });
    if (held != 0)
        return {false, modifiersStillHeldMessage(held)};
    switch (win32raw::sendRawKeyEvents(toRawKeyEvents(parsed.strokes), wait)) {
    case win32raw::SendStatus::Sent:
        return {};
    case win32raw::SendStatus::Blocked:
        return {false, QStringLiteral("キー入力を送れませんでした（入力先のウィンドウが受け付けていません）")};
    case win32raw::SendStatus::Partial:
        return {false, QStringLiteral("キー入力の途中で送れなくなりました")};
    }
    return {false, QString()};
}

} // namespace platform
