// Win32KeyTyper: hands the strokes to SendInput.
#include "services_win32.h"

#include "keytyper_win32_events.h"
#include "raw_win32.h"
#include "../modifierwait.h"

namespace platform {

KeyTyper::Result Win32KeyTyper::type(const QList<KeyStroke> &strokes, bool wait)
{
    if (strokes.isEmpty())
        return {};
    // Not one character while the user holds a modifier: "a" with Ctrl held is Ctrl+A.
    const quint8 held = waitForModifierRelease([] { return static_cast<quint8>(win32::heldModifiers()); },
                                               [](int ms) { win32::sleepMilliseconds(ms); });
    if (held != 0)
        return {false, modifiersStillHeldMessage(held)};
    switch (win32::sendRawKeyEvents(toRawKeyEvents(strokes), wait)) {
    case win32::SendStatus::Sent: return {};
    case win32::SendStatus::Blocked:
        return {false, QStringLiteral("キー入力を送れませんでした（入力先のウィンドウが受け付けていません）")};
    case win32::SendStatus::Partial: return {false, QStringLiteral("キー入力の途中で送れなくなりました")};
    }
    return {false, QString()};
}

}  // namespace platform
