#pragma once
// fcitx5, through its controller on the session bus. The controller acts on the input
// context that had the focus last: it is asked after the switch to the user's window.

#include "../services.h"

#include <QString>
#include <functional>

namespace platform::freedesktop {

class Fcitx5InputMethod : public InputMethod {
public:
    // busAddress: the session bus; settle, when given, waits until the focused
    // window has told fcitx5 that it has the focus.
    Fcitx5InputMethod(QString busAddress, std::function<void()> settle);
    Suspension suspend() override;
    Resumption resume() override;

private:
    QString m_busAddress;
    std::function<void()> m_settle;
    bool m_switchedOff = false;
};

}  // namespace platform::freedesktop
