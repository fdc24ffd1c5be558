#include "inputmethodoff.h"

namespace platform {

InputMethod::Suspension InputMethodChain::suspend()
{
    m_suspended = 0;
    for (InputMethod *member : std::as_const(m_members)) {
        const Suspension suspension = member->suspend();
        if (!suspension.ok) {
            resume();
            return suspension;
        }
        ++m_suspended;
    }
    return {};
}

void InputMethodChain::resume()
{
    // Last off, first back.
    while (m_suspended > 0)
        m_members.at(--m_suspended)->resume();
}

InputMethodOff::InputMethodOff(InputMethod *inputMethod) : m_inputMethod(inputMethod)
{
    if (m_inputMethod)
        m_suspension = m_inputMethod->suspend();
}

InputMethodOff::~InputMethodOff()
{
    // A refused suspend changed nothing: there is nothing to put back.
    if (m_inputMethod && m_suspension.ok)
        m_inputMethod->resume();
}

}  // namespace platform
