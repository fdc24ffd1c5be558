#include "inputmethodoff.h"

namespace platform {

InputMethod::Suspension InputMethodChain::suspend()
{
    m_suspended = 0;
    Suspension all;
    for (InputMethod *member : std::as_const(m_members)) {
        const Suspension suspension = member->suspend();
        if (!suspension.ok) {
            resume();
            return suspension;
        }
        all.oneKeyAtATime = all.oneKeyAtATime || suspension.oneKeyAtATime;
        ++m_suspended;
    }
    return all;
}

InputMethod::Resumption InputMethodChain::resume()
{
    // Last off, first back.
    Resumption first;
    while (m_suspended > 0) {
        const Resumption resumption = m_members.at(--m_suspended)->resume();
        if (first.ok && !resumption.ok)
            first = resumption;
    }
    return first;
}

InputMethodOff::InputMethodOff(InputMethod *inputMethod) : m_inputMethod(inputMethod)
{
    if (m_inputMethod)
        m_suspension = m_inputMethod->suspend();
}

InputMethodOff::~InputMethodOff() { putBack(); }

InputMethod::Resumption InputMethodOff::putBack()
{
    // A refused suspend changed nothing: there is nothing to put back.
    if (!m_inputMethod || !m_suspension.ok || m_putBack)
        return {};
    m_putBack = true;
    return m_inputMethod->resume();
}

}  // namespace platform
