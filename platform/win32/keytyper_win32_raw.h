#pragma once
// Synthesised keyboard input through SendInput. Uses only <windows.h> and the
// standard library; this header needs neither, so the adaptor stays free of both.

#include <cstdint>
#include <vector>

namespace platform::win32 {

// One key transition.
struct RawKeyEvent {
    enum class Kind : std::uint8_t {
        VirtualKey,  // code is a virtual-key code
        Unicode,     // code is one UTF-16 unit, typed as itself whatever the layout or IME
    };
    Kind kind = Kind::VirtualKey;
    std::uint16_t code = 0;
    bool keyUp = false;
    bool operator==(const RawKeyEvent &) const = default;
};

// Virtual-key codes the typer uses.
namespace vk {
constexpr std::uint16_t Cancel = 0x03, Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11,
                        Menu = 0x12, Capital = 0x14, Escape = 0x1B, Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24,
                        Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Snapshot = 0x2C, Insert = 0x2D,
                        Delete = 0x2E, Help = 0x2F, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D, Divide = 0x6F,
                        F1 = 0x70, NumLock = 0x90, Scroll = 0x91;
}

enum class SendStatus {
    Sent,
    Blocked,  // nothing went in: input is blocked for this process (another desktop, a higher-integrity window)
    Partial,  // some events went in; modifiers were released afterwards
};

// Sends all events in one SendInput call, so the user's own typing cannot get in
// between. With waitForTarget it returns once the focused window's thread has read
// them (waitUntilInputRead), or after a bounded wait.
SendStatus sendRawKeyEvents(const std::vector<RawKeyEvent> &events, bool waitForTarget);

}  // namespace platform::win32
