#include "waylandsession.h"

#include "waylandtoplevels.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <wayland-client.h>
#include "virtual-keyboard-unstable-v1-client.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client.h"

namespace platform::wayland {

namespace {
constexpr int ActivationPollMs = 2;
}  // namespace

std::unique_ptr<Session> Session::connect(const QStringList &ignored)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<Session> session(new Session);
    session->display = display;
    session->ignored = ignored;
    session->registry = wl_display_get_registry(display);
    static const wl_registry_listener listener{&Session::global, &Session::globalRemove};
    wl_registry_add_listener(session->registry, &listener, session.get());
    // The first round trip lists the globals, the second the toplevels and their states.
    if (!session->roundtrip() || !session->roundtrip())
        return nullptr;
    // The keyboard is made now, not at the first key: on a seat that had no keyboard,
    // clients bind theirs only once the seat reports one, and keys sent before that are lost.
    if (session->keyboard() && !session->roundtrip())
        return nullptr;
    return session;
}

void Session::global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    auto *self = static_cast<Session *>(data);
    if (self->ignored.contains(QLatin1String(interface)))
        return;
    if (!self->seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
        self->seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        self->keyboardManager = static_cast<zwp_virtual_keyboard_manager_v1 *>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    } else if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
        self->toplevelManager = static_cast<zwlr_foreign_toplevel_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface, qMin(version, 2u)));
        self->toplevels = std::make_unique<Toplevels>(self->toplevelManager);
    }
}

Session::~Session()
{
    delete notifier;
    toplevels.reset();  // destroys the manager and the handles
    if (virtualKeyboard)
        zwp_virtual_keyboard_v1_destroy(virtualKeyboard);
    if (keyboardManager)
        zwp_virtual_keyboard_manager_v1_destroy(keyboardManager);
    if (seat)
        wl_seat_destroy(seat);
    if (registry)
        wl_registry_destroy(registry);
    if (display) {
        wl_display_flush(display);
        wl_display_disconnect(display);
    }
}

bool Session::roundtrip() { return wl_display_roundtrip(display) >= 0; }

bool Session::flush()
{
    while (wl_display_flush(display) < 0) {
        if (errno != EAGAIN)
            return false;
        pollfd fd{wl_display_get_fd(display), POLLOUT, 0};
        ::poll(&fd, 1, -1);
    }
    return true;
}

bool Session::broken() const { return wl_display_get_error(display) != 0; }

zwp_virtual_keyboard_v1 *Session::keyboard()
{
    // Made only once: each new one is a keyboard plugged in, for the compositor and
    // every client.
    if (!virtualKeyboard && hasVirtualKeyboard())
        virtualKeyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(keyboardManager, seat);
    return virtualKeyboard;
}

bool Session::uploadKeymap(const QByteArray &text)
{
    const int fd = memfd_create("tuvel-keymap", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    bool written = true;
    for (qsizetype done = 0; written && done < text.size();) {
        const ssize_t n = ::write(fd, text.constData() + done, static_cast<size_t>(text.size() - done));
        written = n > 0;
        done += n > 0 ? n : 0;
    }
    if (written)
        zwp_virtual_keyboard_v1_keymap(keyboard(), WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<uint32_t>(text.size()));
    // The request carries its own copy of the descriptor once it is sent.
    wl_display_flush(display);
    ::close(fd);
    return written;
}

ActivationHistory &Session::history()
{
    static ActivationHistory none;
    return toplevels ? toplevels->history : none;
}

bool Session::activate(ActivationHistory::Window window, int timeoutMs)
{
    zwlr_foreign_toplevel_handle_v1 *handle = toplevels ? toplevels->handleOf(window) : nullptr;
    if (!handle)
        return false;
    zwlr_foreign_toplevel_handle_v1_activate(handle, seat);
    QDeadlineTimer deadline(timeoutMs);
    while (roundtrip()) {
        if (history().active() == window)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(ActivationPollMs);
    }
    return false;
}

// A round trip may have read the events the notifier saw: reading must not block.
bool Session::dispatchWithoutBlocking()
{
    while (wl_display_prepare_read(display) != 0)
        if (wl_display_dispatch_pending(display) < 0)
            return false;
    pollfd fd{wl_display_get_fd(display), POLLIN, 0};
    if (::poll(&fd, 1, 0) > 0) {
        if (wl_display_read_events(display) < 0)
            return false;
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) >= 0;
}

QString Session::titleOf(ActivationHistory::Window window) const
{
    return toplevels ? toplevels->titleOf(window) : QString();
}

void Session::watch()
{
    if (notifier || !QCoreApplication::instance())
        return;
    notifier = new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [this] {
        if (!dispatchWithoutBlocking())
            notifier->setEnabled(false);
    });
    // Requests made between two events leave before the loop sleeps.
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, notifier,
                         [this] { wl_display_flush(display); });
}

}  // namespace platform::wayland
