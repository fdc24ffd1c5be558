#include "waylandkeyevents.h"

#include "waylandsession.h"

#include <QThread>

namespace platform::wayland {

namespace {
constexpr int ActivationTimeoutMs = 1000;
}  // namespace

QString noToplevelListMessage()
{
    return QStringLiteral(
        "この Wayland デスクトップでは前のウィンドウに切り替えられないため、キーを入力しませんでした。"
        "クリップボードへのコピーをお使いください。");
}

QString noVirtualKeyboardMessage()
{
    return QStringLiteral("この Wayland デスクトップは仮想キーボードに対応していないため、キーを入力できません。"
                          "クリップボードへのコピーをお使いください。");
}

WaylandKeyEvents::WaylandKeyEvents(Session &session, SwitchState &switchState, std::function<quint8()> heldModifiers)
    : session(session), switchState(switchState), held(std::move(heldModifiers))
{}

void WaylandKeyEvents::keybdEvent(quint8 virtualKey, quint8, quint32 flags, quintptr)
{
    // Alt alone does nothing; Tab going down is the switch, with our Alt or the user's.
    if (virtualKey == VK_Tab && !(flags & KeyUp))
        switchToPrevious();
}

void WaylandKeyEvents::switchToPrevious()
{
    switchState = SwitchState{};
    if (!session.hasVirtualKeyboard()) {
        switchState.failure = noVirtualKeyboardMessage();
        return;
    }
    if (!session.hasToplevelList()) {
        switchState.failure = noToplevelListMessage();
        return;
    }
    session.roundtrip();  // the latest activations
    ActivationHistory &history = session.history();
    const ActivationHistory::Window previous = history.previous();
    if (!previous) {
        switchState.failure = QStringLiteral("切り替え先のウィンドウがないため、キーを入力しませんでした。");
        return;
    }
    // Back to the viewer afterwards even when the switch seems to fail: the compositor
    // may still carry it out late.
    switchState.returnTo = history.active();
    if (!session.activate(previous, ActivationTimeoutMs))
        switchState.failure = QStringLiteral("前のウィンドウに切り替えられなかったため、キーを入力しませんでした。");
}

void WaylandKeyEvents::sleep(int milliseconds)
{
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

quint8 WaylandKeyEvents::heldModifiers() { return held ? held() : 0; }

}  // namespace platform::wayland
