#pragma once
// Waiting for the user to let go of the modifier keys before keys are synthesised.
// A key sent while the user still holds Ctrl (of Ctrl+B, say) arrives with Ctrl held:
// Alt+Tab becomes Ctrl+Alt+Tab, and a typed "a" becomes Ctrl+A.

#include "services.h"

#include <functional>

namespace platform {

// How long to wait for the release at most, and how often to look.
constexpr int ModifierReleaseBoundMs = 2000;
constexpr int ModifierPollMs = 10;

// Asks held() until it reports nothing held, with a sleep of ModifierPollMs between
// two questions, for at most boundMs of sleeping. Returns the modifiers still held
// when it gave up (KeyEvents::Held* bits), 0 once all are up. It only waits: keys
// the user holds are theirs, and nothing is released for them.
quint8 waitForModifierRelease(const std::function<quint8()> &held, const std::function<void(int)> &sleep,
                              int boundMs = ModifierReleaseBoundMs);
quint8 waitForModifierRelease(KeyEvents &events, int boundMs = ModifierReleaseBoundMs);

// The typers' refusal when a modifier is still down after the wait.
QString modifiersStillHeldMessage(quint8 held);

}  // namespace platform
