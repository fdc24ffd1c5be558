#include "waylandtoplevels.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client.h"

namespace platform::wayland {

namespace {
void ignoreString(void *, zwlr_foreign_toplevel_handle_v1 *, const char *) {}
void ignoreOutput(void *, zwlr_foreign_toplevel_handle_v1 *, wl_output *) {}
void ignoreParent(void *, zwlr_foreign_toplevel_handle_v1 *, zwlr_foreign_toplevel_handle_v1 *) {}
}  // namespace

Toplevels::Toplevels(zwlr_foreign_toplevel_manager_v1 *manager) : manager(manager)
{
    static const zwlr_foreign_toplevel_manager_v1_listener listener{&Toplevels::added, &Toplevels::finished};
    zwlr_foreign_toplevel_manager_v1_add_listener(manager, &listener, this);
}

Toplevels::~Toplevels()
{
    for (const Window &window : std::as_const(windows))
        zwlr_foreign_toplevel_handle_v1_destroy(window.handle);
    if (manager)
        zwlr_foreign_toplevel_manager_v1_destroy(manager);
}

zwlr_foreign_toplevel_handle_v1 *Toplevels::handleOf(ActivationHistory::Window window) const
{
    return windows.value(window).handle;
}

void Toplevels::added(void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle)
{
    static const zwlr_foreign_toplevel_handle_v1_listener listener{
        &Toplevels::title, &ignoreString,    &ignoreOutput,      &ignoreOutput,
        &Toplevels::state, &Toplevels::done, &Toplevels::closed, &ignoreParent};
    auto *self = static_cast<Toplevels *>(data);
    self->windows.insert(handle, Window{handle, QString(), false});
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, self);
}

void Toplevels::finished(void *data, zwlr_foreign_toplevel_manager_v1 *)
{
    auto *self = static_cast<Toplevels *>(data);
    zwlr_foreign_toplevel_manager_v1_destroy(self->manager);
    self->manager = nullptr;
}

void Toplevels::title(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title)
{
    static_cast<Toplevels *>(data)->windows[handle].title = QString::fromUtf8(title);
}

void Toplevels::state(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *state)
{
    bool activated = false;
    const auto *values = static_cast<const uint32_t *>(state->data);
    for (size_t i = 0; i < state->size / sizeof(uint32_t); ++i)
        activated = activated || values[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    static_cast<Toplevels *>(data)->windows[handle].activated = activated;
}

void Toplevels::done(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
{
    auto *self = static_cast<Toplevels *>(data);
    self->history.seen(handle, self->windows.value(handle).activated);
}

void Toplevels::closed(void *data, zwlr_foreign_toplevel_handle_v1 *handle)
{
    auto *self = static_cast<Toplevels *>(data);
    self->history.closed(handle);
    self->windows.remove(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
}

}  // namespace platform::wayland
