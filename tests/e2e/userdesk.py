"""What a Japanese user has in front of them: the programs as separate processes on
the private display, a session bus with the accessibility bus behind it, and a
mouse and keyboard used with a person's timing.

The display comes from scripts/with-display.sh. Everything started here is stopped
here: programs by their own process, the session bus with the whole process group
it spawned (the accessibility bus and registry are activated by it).
"""
import atexit
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
import warnings

# The Debian bindings of the accessibility library warn about their own internals.
warnings.filterwarnings("ignore", category=DeprecationWarning)
warnings.filterwarnings("ignore", category=ImportWarning)

# The user's settings: a Japanese desktop in Japan.
USER_ENVIRONMENT = {
    "LANG": "ja_JP.UTF-8",
    "LC_ALL": "",
    "LANGUAGE": "",
    "TZ": "Asia/Tokyo",
    "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
    "QT_ACCESSIBILITY": "1",
    "NO_AT_BRIDGE": "0",
}

DOUBLE_CLICK_GAP_MS = 80  # between the two clicks of a person's double-click
HELD_CTRL_AFTER_KEY_S = 0.15  # a person lets go of Ctrl after the letter
SEPARATE_CLICKS_S = 0.7  # two clicks further apart than the double-click interval (400 ms)


def _end_with_the_test():
    """Run in the child before exec: the kernel stops it if the test itself is killed."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def wait_until(probe, timeout=10.0, interval=0.05):
    """Polls probe() until it returns something true; returns the last value."""
    deadline = time.monotonic() + timeout
    value = probe()
    while not value and time.monotonic() < deadline:
        time.sleep(interval)
        value = probe()
    return value


class SessionBus:
    """A private D-Bus session bus; the accessibility bus is activated through it."""

    def __init__(self):
        self.process = None

    def start(self):
        self.process = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True, text=True, preexec_fn=_end_with_the_test)
        atexit.register(self.stop)
        address = self.process.stdout.readline().strip()
        if not address:
            raise RuntimeError("dbus-daemon gave no address")
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address

    def stop(self):
        if self.process is None:
            return
        # The bus and what it activated share its process group.
        try:
            os.killpg(self.process.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            try:
                os.killpg(self.process.pid, 0)
            except ProcessLookupError:
                break
            time.sleep(0.05)
        else:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.process.stdout.close()
        self.process = None


class Program:
    """One program the user started; stopped by the test that started it."""

    def __init__(self, argv, cwd=None, log=None):
        """log: a file for what the program writes on stdout and stderr."""
        self.process = subprocess.Popen(argv, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                        preexec_fn=_end_with_the_test)

    @property
    def pid(self):
        return self.process.pid

    def running(self):
        return self.process.poll() is None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class MirroringWindow:
    """A window the user types into (a program of the tests): it mirrors its text into
    the file output after each change and writes output.ready once it has the focus."""

    def __init__(self, argv, output, cleanup, what="the sink"):
        self.output = output
        self.program = Program(argv)
        cleanup(self.program.stop)
        if not wait_until(lambda: os.path.exists(output + ".ready"), timeout=15):
            raise AssertionError(f"{what} never had the focus")

    def received(self):
        try:
            with open(self.output, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return b""


class ProgramFolder:
    """A folder as the user unpacks it: the built programs, a data box and list.txt."""

    def __init__(self):
        # Everything the build put beside the programs; the lists are the test's own.
        self.path = os.path.join(tempfile.mkdtemp(prefix="tuvel-e2e-"), "tuvel")
        shutil.copytree(os.environ["TUVEL_APP_DIR"], self.path, symlinks=True)
        shutil.rmtree(self.databox())
        os.mkdir(self.databox())
        os.remove(os.path.join(self.path, "list.txt"))

    def databox(self, name=""):
        return os.path.join(self.path, "tuveldbox", name)

    def write_list(self, file_name, name, description, address, keys, mtime=None):
        """A data file in CP932 with CR LF, as the user keeps them."""
        path = self.databox(file_name)
        text = "\r\n".join([name, description, address] + list(keys))
        with open(path, "wb") as out:
            out.write(text.encode("cp932"))
        if mtime is not None:
            os.utime(path, (mtime, mtime))
        return path

    def start(self, program, *args):
        return Program([os.path.join(self.path, program), *args], cwd=self.path)

    def remove(self):
        shutil.rmtree(os.path.dirname(self.path), ignore_errors=True)


# Input, as a person gives it.

def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True)


def click(point):
    xdotool("mousemove", point[0], point[1])
    time.sleep(0.05)
    xdotool("click", "1")


def pause_between_clicks():
    time.sleep(SEPARATE_CLICKS_S)


def double_click(point):
    xdotool("mousemove", point[0], point[1])
    time.sleep(0.05)
    xdotool("click", "--repeat", "2", "--delay", DOUBLE_CLICK_GAP_MS, "1")


def ctrl_key(letter):
    """Ctrl held down, the letter pressed and released, Ctrl let go a moment later."""
    xdotool("keydown", "ctrl")
    time.sleep(0.05)
    xdotool("key", letter)
    time.sleep(HELD_CTRL_AFTER_KEY_S)
    xdotool("keyup", "ctrl")


def active_window_pid():
    result = subprocess.run(["xdotool", "getactivewindow", "getwindowpid"], capture_output=True, text=True)
    return int(result.stdout) if result.returncode == 0 and result.stdout.strip().isdigit() else None


def activate(pid):
    """The user goes back to the process's window (the window manager activates it)."""
    windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                             capture_output=True, text=True).stdout.split()
    for window in windows:
        subprocess.run(["xdotool", "windowactivate", "--sync", window], capture_output=True, timeout=10)
    return wait_until(lambda: active_window_pid() == pid, timeout=5)


def clipboard_text():
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"],
                            capture_output=True, timeout=10)
    return result.stdout.decode("utf-8") if result.returncode == 0 else None


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=False)


class UserTestCase(unittest.TestCase):
    """Starts the session bus for the whole test class; the bus outlives every program.
    What a class starts is stopped by class clean-ups, which run even when its set-up fails."""

    @classmethod
    def setUpClass(cls):
        os.environ.update(USER_ENVIRONMENT)
        if not os.environ.get("DISPLAY"):
            raise unittest.SkipTest("needs the display of scripts/with-display.sh")
        bus = SessionBus()
        cls.addClassCleanup(bus.stop)
        bus.start()
