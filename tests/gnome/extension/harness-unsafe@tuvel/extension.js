// Loaded only by scripts/with-gnome.sh: the tests read and steer the shell through
// org.gnome.Shell.Eval, which answers in unsafe mode only. Focus changes go to the log
// so that a failing test can tell where the focus went.
let focusId = 0;

function init() {}

function enable() {
    global.context.unsafe_mode = true;
    focusId = global.display.connect('notify::focus-window', () => {
        const w = global.display.focus_window;
        log(`tuvel-harness focus: ${w ? `${w.get_title()} [${w.get_client_type()}]` : 'none'}`);
    });
}

function disable() {
    if (focusId)
        global.display.disconnect(focusId);
    focusId = 0;
    global.context.unsafe_mode = false;
}
