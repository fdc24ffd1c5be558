"""A Japanese input method (IME) in the test's private session, as a Japanese desktop
has one: fcitx5 or IBus with Mozc, the jp keyboard layout, and the environment the
framework sets for the programs started after it. The IME is switched on and off as a
person does it (the Zenkaku/Hankaku key) and its state is read from outside: the
framework's own answer (fcitx5-remote; IBus's global engine) and, in a typing sink,
what a letter typed by hand turns into (direct "a", or hiragana "あ").

Mozc will not run as root: these run as the user of scripts/as-user.sh, whose home is
fresh and empty, so every run starts from a clean input-method configuration. Needs
the session bus of userdesk.UserTestCase and the display of scripts/with-display.sh.
"""
import os
import shutil
import signal
import subprocess
import time
import unittest
import uuid

from userdesk import wait_until, xdotool

MOZC_MODE_KEY = "Zenkaku_Hankaku"  # the key left of 1 on a Japanese keyboard


def _run(*argv, timeout=10):
    result = subprocess.run(argv, capture_output=True, text=True, timeout=timeout)
    return result.returncode, result.stdout.strip()


def _marked_processes(marker):
    """Our own processes that carry the marker in their environment, by id."""
    found = []
    me = os.getpid()
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == me:
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                if marker in f.read().split(b"\0"):
                    found.append(int(entry))
        except OSError:
            continue
    return found


def _end_processes(pids, timeout=3.0):
    for sig in (signal.SIGTERM, signal.SIGKILL):
        for pid in pids:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and any(os.path.exists(f"/proc/{p}") and _alive(p) for p in pids):
            time.sleep(0.05)


def _alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


class Framework:
    """One input-method framework for the session. Its daemon and every helper it spawns
    (conversion server, engines, candidate window) carry a marker in their environment
    and are stopped by it, by process id."""

    name = ""
    environment = {}

    def __init__(self):
        self.process = None
        self.monitors = []
        self.marker = f"TUVEL_IM_RUN={uuid.uuid4().hex}"
        self.log = os.path.join(os.environ["HOME"], f"{self.name}.log")

    def start(self):
        if not shutil.which(self.command()[0]):
            raise unittest.SkipTest(f"{self.name} is not installed")
        if os.geteuid() == 0:
            raise RuntimeError("the Mozc server will not run as root: run through scripts/as-user.sh")
        subprocess.run(["setxkbmap", "jp"], check=True)
        self.configure()
        key, value = self.marker.split("=", 1)
        env = dict(os.environ, **{key: value}, **self.environment)
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen(self.command(), env=env, stdin=subprocess.DEVNULL,
                                            stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        if not wait_until(self.ready, timeout=20, interval=0.1):
            raise AssertionError(f"{self.name} did not come up:\n{self.log_tail()}")
        # For looking into a failure: TUVEL_IM_BUS_LOG=FILE records the framework's
        # bus traffic with times (who switched what, when).
        if os.environ.get("TUVEL_IM_BUS_LOG"):
            self.monitor(os.environ["TUVEL_IM_BUS_LOG"])
        # The programs started from now on talk to it.
        os.environ.update(self.environment)

    def monitor(self, path, *match):
        """Records the framework's bus traffic (what match lets through) in the file."""
        with open(path, "wb") as log:
            self.monitors.append(subprocess.Popen(["dbus-monitor", "--address", self.bus_address(), *match],
                                                  stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL))

    def stop(self):
        _end_processes([m.pid for m in self.monitors])
        for m in self.monitors:
            m.wait()
        self.monitors = []
        if self.process is None:
            return
        _end_processes([self.process.pid])
        self.process.wait()
        self.process = None
        _end_processes(_marked_processes(self.marker.encode()))

    def log_tail(self, lines=15):
        try:
            with open(self.log, errors="replace") as f:
                return "".join(f.readlines()[-lines:])
        except OSError:
            return ""

    def running(self):
        return self.process is not None and self.process.poll() is None

    # For each framework.
    def configure(self):
        pass

    def command(self):
        raise NotImplementedError

    def ready(self):
        raise NotImplementedError

    def bus_address(self):
        return os.environ["DBUS_SESSION_BUS_ADDRESS"]

    def select_mozc(self):
        """Makes Mozc the input method the next Zenkaku/Hankaku press talks to."""

    def state(self):
        """What the framework says about the focused window, as a comparable dict."""
        raise NotImplementedError

    def focused_context_ready(self):
        """Whether the focused window's input context has reached the framework."""
        return True


class Fcitx5(Framework):
    """fcitx5 with one group: the jp keyboard first (off) and Mozc second (on)."""

    name = "fcitx5"
    environment = {"XMODIFIERS": "@im=fcitx", "QT_IM_MODULE": "fcitx", "GTK_IM_MODULE": "fcitx"}

    PROFILE = """[Groups/0]
Name=Default
Default Layout=jp
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-jp
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
"""
    # Zenkaku/Hankaku, the default trigger key among others, switches between the two.
    CONFIG = """[Hotkey]
EnumerateWithTriggerKeys=True

[Hotkey/TriggerKeys]
0=Zenkaku_Hankaku
1=Control+space

[Behavior]
ShareInputState=No
"""
    # Where the indicator it shows on each switch on and off is a popup of the window's
    # own (fcitx5's GTK module on a Wayland desktop), sway 1.7 may cut the window off
    # ("xdg_surface must have a role") when such popups come and go quickly.
    show_information = True

    def configure(self):
        folder = os.path.join(os.environ["HOME"], ".config", "fcitx5")
        os.makedirs(folder, exist_ok=True)
        config = self.CONFIG
        if not self.show_information:
            config = config.replace("[Behavior]\n", "[Behavior]\nShowInputMethodInformation=False\n")
        for name, text in (("profile", self.PROFILE), ("config", config)):
            with open(os.path.join(folder, name), "w") as f:
                f.write(text)

    def command(self):
        # The clipboard history would take part in the viewer's copying; the tray
        # and panel addons have no desktop to talk to.
        return ["fcitx5", "--disable=clipboard,notificationitem,kimpanel"]

    def ready(self):
        return self.running() and _run("fcitx5-remote")[0] == 0

    def state(self):
        # fcitx5-remote: 0 no focused input context, 1 inactive (keyboard-jp), 2 active.
        return {"fcitx5-remote": _run("fcitx5-remote")[1], "input method": _run("fcitx5-remote", "-n")[1]}

    def focused_context_ready(self):
        return _run("fcitx5-remote")[1] in ("1", "2")


class IBus(Framework):
    """ibus-daemon with Mozc and the plain jp keyboard as the user's engines; no panel.
    The global engine starts as the plain keyboard, as a panel sets the first one."""

    name = "ibus"
    environment = {"XMODIFIERS": "@im=ibus", "QT_IM_MODULE": "ibus", "GTK_IM_MODULE": "ibus"}
    ENGINES = ["xkb:jp::jpn", "mozc-jp"]

    def configure(self):
        # The viewer's engine, as the package installs it, besides the system's.
        components = os.environ.get("TUVEL_IBUS_COMPONENTS")
        if components:
            self.environment = dict(self.environment, IBUS_COMPONENT_PATH=f"{components}:/usr/share/ibus/component")
        value = "[" + ", ".join(f"'{e}'" for e in self.ENGINES) + "]"
        subprocess.run(["gsettings", "set", "org.freedesktop.ibus.general", "preload-engines", value], check=True)

    def command(self):
        # Components read afresh: a system cache would hide the one named above.
        return ["ibus-daemon", "--xim", "--panel=disable", "--emoji-extension=disable", "--cache=refresh"]

    def ready(self):
        if not self.running() or _run("ibus", "address")[1] in ("", "(null)"):
            return False
        # "ibus engine NAME" fails now and then when it did switch: the switch is read back.
        _run("ibus", "engine", self.ENGINES[0])
        return self.engine() == self.ENGINES[0]

    def bus_address(self):
        return _run("ibus", "address")[1]

    def start(self):
        super().start()
        # What the viewer's own engine sends, as the daemon sees it.
        self.engine_log = os.path.join(os.environ["HOME"], "ibus-engine-signals.log")
        self.monitor(self.engine_log, "type='signal',interface='org.freedesktop.IBus.Engine'")

    def viewer_engine_signals(self):
        """How many texts and keys the viewer's engine has sent so far."""
        with open(self.engine_log, errors="replace") as f:
            return sum("/Engine/tuvelv/" in line for line in f)

    def engine(self):
        code, out = _run("ibus", "engine")
        return out if code == 0 else None

    def select_mozc(self):
        """As a person picks Mozc from the engine menu; Mozc then starts in direct input."""
        _run("ibus", "engine", "mozc-jp")
        if not wait_until(lambda: self.engine() == "mozc-jp", timeout=5):
            raise AssertionError(f"the global engine is {self.engine()}, not mozc-jp")

    def state(self):
        return {"global engine": self.engine()}


FRAMEWORKS = {"fcitx5": Fcitx5, "ibus": IBus}


def wrong_arrival(sink, before, arrived, expected, press_enter):
    """Says what arrived instead of the expected text, and what was left in the
    composition: press_enter() commits it (None when the sink cannot take the key)."""
    text = lambda data: data.decode("utf-8", errors="replace")  # noqa: E731
    pending = ""
    if arrived.startswith(before) and press_enter is not None:
        press_enter()
        time.sleep(0.5)
        committed = sink.received()
        if committed != arrived + b"\n":
            pending = f", and Enter committed {text(committed[len(arrived):])!r} left in the composition"
    shown = text(arrived[len(before):]) if arrived.startswith(before) else text(arrived)
    return f"{shown!r} arrived instead of {expected!r}{pending}"


class ModeProbe:
    """Reads the IME's mode in a typing sink that has the focus, as a person sees it: a
    letter is typed by hand; it arrives at once when the IME is off, and as a
    composition committed by Enter (hiragana) when it is on. Leaves the sink's text as
    it was."""

    LETTER = ("a", "あ")

    def __init__(self, sink):
        self.sink = sink

    def mode(self):
        before = self.sink.received()
        xdotool("key", self.LETTER[0])
        direct = before + self.LETTER[0].encode()
        if wait_until(lambda: self.sink.received() != before, timeout=0.8):
            arrived = self.sink.received()
        else:
            xdotool("key", "Return")
            wait_until(lambda: self.sink.received() != before, timeout=3)
            arrived = self.sink.received()
        if arrived == direct:
            mode = "direct"
        elif arrived == before + self.LETTER[1].encode():
            mode = "hiragana"
        else:
            mode = f"unknown: {arrived[len(before):].decode(errors='replace')!r} arrived"
        # Put the text back as it was.
        for _ in range(len(arrived.decode(errors="replace")) - len(before.decode(errors="replace"))):
            xdotool("key", "BackSpace")
        if not wait_until(lambda: self.sink.received() == before, timeout=3):
            raise AssertionError(f"the probe's letter could not be taken back: {self.sink.received()!r}")
        return mode

    def set(self, framework, on, tries=3):
        """Switches the IME of the sink's window on (hiragana) or off (direct) by the key."""
        framework.select_mozc()
        wanted = "hiragana" if on else "direct"
        wait_until(framework.focused_context_ready, timeout=5)
        presses = 0
        for _ in range(2 * tries):
            mode = self.mode()
            if mode == wanted:
                return mode
            if mode in ("direct", "hiragana") and presses < tries:
                xdotool("key", MOZC_MODE_KEY)
                presses += 1
            # Otherwise the letter was lost: the window's input context is not ready yet.
            time.sleep(0.3)
        raise AssertionError(f"the IME could not be switched {'on' if on else 'off'}: {mode}, {framework.state()}")
