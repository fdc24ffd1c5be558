#pragma once
// The compositor's list of toplevel windows (wlr foreign-toplevel management): which
// one is active, in which order they were active, and their titles.
#include "activationhistory.h"

#include <QHash>
#include <QString>

struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;
struct wl_array;

namespace platform::wayland {

class Toplevels {
public:
    explicit Toplevels(zwlr_foreign_toplevel_manager_v1 *manager);
    ~Toplevels();
    ActivationHistory history;
    QString titleOf(ActivationHistory::Window window) const { return windows.value(window).title; }
    zwlr_foreign_toplevel_handle_v1 *handleOf(ActivationHistory::Window window) const;

private:
    struct Window {
        zwlr_foreign_toplevel_handle_v1 *handle = nullptr;
        QString title;
        bool activated = false;  // as of the last state event, applied on done
    };
    zwlr_foreign_toplevel_manager_v1 *manager;
    QHash<ActivationHistory::Window, Window> windows;

    static void added(void *data, zwlr_foreign_toplevel_manager_v1 *, zwlr_foreign_toplevel_handle_v1 *handle);
    static void finished(void *data, zwlr_foreign_toplevel_manager_v1 *);
    static void title(void *data, zwlr_foreign_toplevel_handle_v1 *handle, const char *title);
    static void state(void *data, zwlr_foreign_toplevel_handle_v1 *handle, wl_array *state);
    static void done(void *data, zwlr_foreign_toplevel_handle_v1 *handle);
    static void closed(void *data, zwlr_foreign_toplevel_handle_v1 *handle);
};

}  // namespace platform::wayland
