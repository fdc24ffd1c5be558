#pragma once
// The input method frameworks of a Linux desktop (fcitx5 and IBus), as one input
// method: whichever of them runs is switched off for the typing.

#include "../inputmethodoff.h"
#include "fcitx5inputmethod.h"
#include "ibusinputmethod.h"

namespace platform::freedesktop {

// Where ibus-daemon's bus is now, for this user and display; empty when IBus left none.
QString currentIBusAddress();

class DesktopInputMethods : public InputMethod {
public:
    // settle: waits until the window that has just been activated has taken the focus
    // (and told its input method so); drain: waits until the focused window has handed
    // every key typed so far to its input method; ibusEngineTyping: whether the viewer's
    // own IBus engine types the key under way. Any may be empty.
    DesktopInputMethods(std::function<void()> settle, std::function<void()> drain,
                        std::function<bool()> ibusEngineTyping = {});
    Suspension suspend() override { return m_chain.suspend(); }
    Resumption resume() override;

private:
    std::function<void()> m_drain;
    Fcitx5InputMethod m_fcitx5;
    IBusInputMethod m_ibus;
    InputMethodChain m_chain{{&m_fcitx5, &m_ibus}};
};

}  // namespace platform::freedesktop
