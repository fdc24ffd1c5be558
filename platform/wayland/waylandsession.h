#pragma once
// One connection to the Wayland compositor for the life of the program: the seat, the
// virtual keyboard and the list of toplevel windows with the order they were active in.

#include "activationhistory.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;
struct zwlr_foreign_toplevel_manager_v1;
class QSocketNotifier;

namespace platform::wayland {

class Toplevels;

class Session {
public:
    // nullptr when WAYLAND_DISPLAY is not set or the compositor cannot be reached.
    // Globals named in ignored are left unbound, as if the compositor lacked them.
    static std::unique_ptr<Session> connect(const QStringList &ignored = {});
    ~Session();

    bool hasVirtualKeyboard() const { return keyboardManager && seat; }
    bool hasToplevelList() const { return toplevelManager && seat; }

    // Sends what is queued and returns once the compositor has handled it all.
    bool roundtrip();
    bool broken() const;
    // Sends what is queued, waiting while the compositor's socket is full.
    bool flush();

    // The virtual keyboard, made on first use.
    zwp_virtual_keyboard_v1 *keyboard();
    // Hands the keymap (NUL-terminated text) to the compositor through a memfd.
    bool uploadKeymap(const QByteArray &text);

    ActivationHistory &history();
    // Asks the compositor to activate the window and waits (bounded) until it reports
    // the window active. False when it did not.
    bool activate(ActivationHistory::Window window, int timeoutMs);
    QString titleOf(ActivationHistory::Window window) const;

    // Follows activations while the program is idle (needs a running event loop).
    void watch();

private:
    Session() = default;
    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version);
    static void globalRemove(void *, wl_registry *, uint32_t) {}
    bool dispatchWithoutBlocking();

    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    wl_seat *seat = nullptr;
    zwp_virtual_keyboard_manager_v1 *keyboardManager = nullptr;
    zwp_virtual_keyboard_v1 *virtualKeyboard = nullptr;
    zwlr_foreign_toplevel_manager_v1 *toplevelManager = nullptr;
    std::unique_ptr<Toplevels> toplevels;
    QSocketNotifier *notifier = nullptr;
    QStringList ignored;
};

}  // namespace platform::wayland
