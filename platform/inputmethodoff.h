#pragma once
// Keeps input methods off for as long as a key is typed, and puts them back on every
// way out: the typing done, refused half-way, or cut short by an exception.

#include "services.h"

#include <QList>

namespace platform {

// Several frameworks may serve one desktop (rare, but then each must be off). They are
// switched off in order; when one cannot be, those already off are put back at once,
// so that a refusal leaves every input method as the user had it. Putting them back goes
// on past one that fails; the first failure is the one reported.
class InputMethodChain : public InputMethod {
public:
    explicit InputMethodChain(QList<InputMethod *> members) : m_members(std::move(members)) {}
    Suspension suspend() override;
    Resumption resume() override;
    // Whether the last suspend() switched any member off.
    bool holdsAny() const { return m_suspended > 0; }

private:
    QList<InputMethod *> m_members;
    qsizetype m_suspended = 0;  // how many of the members the last suspend() switched off
};

// Switches the input method off when made and back when it goes out of scope, or
// earlier through putBack(), which says whether it went back.
class InputMethodOff {
public:
    explicit InputMethodOff(InputMethod *inputMethod);
    ~InputMethodOff();
    InputMethodOff(const InputMethodOff &) = delete;
    InputMethodOff &operator=(const InputMethodOff &) = delete;

    // False: an input method is on and stays on; nothing may be typed.
    bool ok() const { return m_suspension.ok; }
    QString error() const { return m_suspension.error; }
    bool oneKeyAtATime() const { return m_suspension.oneKeyAtATime; }
    // Puts back what was switched off, once; the scope's end then has nothing to do.
    InputMethod::Resumption putBack();

private:
    InputMethod *m_inputMethod;
    InputMethod::Suspension m_suspension;
    bool m_putBack = false;
};

}  // namespace platform
