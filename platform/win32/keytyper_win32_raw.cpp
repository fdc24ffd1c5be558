#include "keytyper_win32_raw.h"
#include "raw_receiver.h"

#include <windows.h>

namespace platform::win32 {

namespace {

// Keys of the navigation block and a few others live on the extended scan codes;
// without the flag they would arrive as their numeric-keypad twins.
bool isExtendedKey(std::uint16_t code)
{
    switch (code) {
    case vk::Cancel:
    case vk::Prior:
    case vk::Next:
    case vk::End:
    case vk::Home:
    case vk::Left:
    case vk::Up:
    case vk::Right:
    case vk::Down:
    case vk::Snapshot:
    case vk::Insert:
    case vk::Delete:
    case vk::Divide:
    case vk::NumLock: return true;
    default: return false;
    }
}

INPUT toInput(const RawKeyEvent &event)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    DWORD flags = event.keyUp ? KEYEVENTF_KEYUP : 0;
    if (event.kind == RawKeyEvent::Kind::Unicode) {
        input.ki.wVk = 0;
        input.ki.wScan = event.code;
        flags |= KEYEVENTF_UNICODE;
    } else {
        input.ki.wVk = event.code;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(event.code, MAPVK_VK_TO_VSC));
        if (isExtendedKey(event.code))
            flags |= KEYEVENTF_EXTENDEDKEY;
    }
    input.ki.dwFlags = flags;
    return input;
}

void releaseModifiers()
{
    const std::vector<RawKeyEvent> ups = {
        {RawKeyEvent::Kind::VirtualKey, vk::Shift, true},
        {RawKeyEvent::Kind::VirtualKey, vk::Control, true},
        {RawKeyEvent::Kind::VirtualKey, vk::Menu, true},
    };
    std::vector<INPUT> inputs;
    for (const RawKeyEvent &e : ups)
        inputs.push_back(toInput(e));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

SendStatus sendRawKeyEvents(const std::vector<RawKeyEvent> &events, bool waitForTarget)
{
    if (events.empty())
        return SendStatus::Sent;
    std::vector<INPUT> inputs;
    inputs.reserve(events.size());
    for (const RawKeyEvent &e : events)
        inputs.push_back(toInput(e));
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size()) {
        // Whatever got in, no modifier may stay down.
        if (sent > 0)
            releaseModifiers();
        return sent == 0 ? SendStatus::Blocked : SendStatus::Partial;
    }
    if (waitForTarget) {
        Sleep(1);  // a moment for the system to hand the events to the receiver's queue
        waitUntilInputRead(receivingWindow(), InputReadTimeoutMs);
    }
    return SendStatus::Sent;
}

}  // namespace platform::win32
