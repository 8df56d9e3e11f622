"""Drives the real quillmere.scr under Wine on the run's Xvfb server: start it, find its
windows, send input, look at the screen, wait for it to end. Every wait has a time limit."""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

STATE = os.environ["QUILLMERE_E2E_STATE"]
SCR = os.environ["QUILLMERE_SCR"]
PROGRAMS = os.environ["QUILLMERE_PROGRAMS"]
DISPLAY = open(os.path.join(STATE, "display")).read().strip()
ENV = dict(os.environ, DISPLAY=DISPLAY, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
SHOTS = os.path.join(STATE, "shots")
TEST_TIME_LIMIT = 120

_runs = []
_current_test = "unnamed"


class TestFailure(AssertionError):
    pass


def fail(message):
    raise TestFailure(message)


def check(condition, message):
    if not condition:
        fail(message)


def wait_until(what, predicate, timeout, interval=0.1):
    """Polls predicate until it returns a true value, which is returned; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            fail(f"timed out after {timeout}s waiting for {what}")
        time.sleep(interval)


class Run:
    """One start of a program of ours, in a fresh folder holding a copy of it."""

    def __init__(self, args, ini=None, exe=None, folder=None):
        exe = exe or SCR
        self.folder = folder or tempfile.mkdtemp(prefix="quillmere-e2e-")
        os.makedirs(self.folder, exist_ok=True)
        self.exe = os.path.join(self.folder, os.path.basename(exe))
        if not os.path.exists(self.exe):
            shutil.copy(exe, self.exe)
        if ini is not None:
            mode = "wb" if isinstance(ini, bytes) else "w"
            with open(self.ini_path, mode) as f:
                f.write(ini)
        self.args = list(args)
        self.started = time.monotonic()
        self.proc = subprocess.Popen(["wine", self.exe] + self.args, cwd=self.folder, env=ENV,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _runs.append(self)

    @property
    def ini_path(self):
        return os.path.join(self.folder, "quillmere.ini")

    def ini_text(self):
        if not os.path.exists(self.ini_path):
            return None
        with open(self.ini_path, "rb") as f:
            return f.read().decode("utf-8", errors="replace")

    def alive(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout, what=None):
        what = what or f"{os.path.basename(self.exe)} {' '.join(self.args)} to end"
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            fail(f"timed out after {timeout}s waiting for {what}")

    def kill(self):
        if self.alive():
            self.proc.kill()
            self.proc.wait(timeout=10)


def program(name):
    """Path of one of our own cross-built test programs."""
    path = os.path.join(PROGRAMS, name if name.endswith(".exe") else name + ".exe")
    check(os.path.exists(path), f"test program {path} was not built")
    return path


def xdotool(*args, timeout=10):
    result = subprocess.run(["xdotool", *map(str, args)], env=ENV, capture_output=True, text=True,
                            timeout=timeout)
    return result


def windows_titled(title, visible_only=False):
    options = ["--onlyvisible"] if visible_only else []
    result = xdotool("search", *options, "--name", "^" + re.escape(title) + "$")
    return [line for line in result.stdout.split() if line.strip()]


def find_window(title, timeout=10):
    """The shown X window whose title is exactly title."""
    return wait_until(f"a shown window titled {title!r}",
                      lambda: (windows_titled(title, visible_only=True) or [None])[0], timeout)


def assert_no_window(title, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = windows_titled(title)
        check(not found, f"a window titled {title!r} appeared")
        time.sleep(0.2)


def window_geometry(wid):
    out = xdotool("getwindowgeometry", "--shell", wid).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def key(name):
    xdotool("key", name)


def move(x, y):
    xdotool("mousemove", x, y)


def click(x, y, button=1):
    xdotool("mousemove", x, y)
    time.sleep(0.05)
    xdotool("click", button)


def mouse_down(button=1):
    xdotool("mousedown", button)


def mouse_up(button=1):
    xdotool("mouseup", button)


class Shot:
    """A screenshot of the whole virtual screen, with its pixels."""

    def __init__(self, path):
        self.path = path
        ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], capture_output=True,
                             timeout=30, check=True).stdout
        fields = []
        pos = 0
        while len(fields) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            if ppm[pos:pos + 1] == b"#":
                pos = ppm.index(b"\n", pos) + 1
                continue
            end = pos
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[pos:end])
            pos = end
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:]

    @property
    def size(self):
        return self.width, self.height

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def region_colours(self, x0, y0, x1, y1):
        """The set of colours in the rectangle [x0, x1) x [y0, y1)."""
        return {self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)}


def screenshot(name):
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, f"{_current_test}-{name}.png")
    subprocess.run(["import", "-window", "root", path], env=ENV, capture_output=True, timeout=30,
                   check=True)
    return Shot(path)


def _cleanup():
    for run in _runs:
        run.kill()
        shutil.rmtree(run.folder, ignore_errors=True)
    _runs.clear()


def _alarm(signum, frame):
    raise TestFailure("test ran past its time limit")


def run_tests(namespace):
    """Runs every test_* function of the calling file; exits non-zero when any failed."""
    global _current_test
    tests = [(name, fn) for name, fn in namespace.items() if name.startswith("test_") and callable(fn)]
    only = os.environ.get("QUILLMERE_E2E_ONLY")
    failures = []
    ran = 0
    signal.signal(signal.SIGALRM, _alarm)
    for name, fn in tests:
        if only and only not in name:
            continue
        _current_test = name
        ran += 1
        started = time.monotonic()
        # A test may ask for a longer limit with a time_limit attribute.
        signal.alarm(getattr(fn, "time_limit", TEST_TIME_LIMIT))
        try:
            fn()
            status = "ok"
        except Exception as error:  # a failed check, a time-out or a harness error
            status = "FAILED"
            failures.append(name)
            print(f"--- {name}: {error}")
            if not isinstance(error, TestFailure):
                traceback.print_exc()
        finally:
            signal.alarm(0)
            _cleanup()
        print(f"{status:6} {name} ({time.monotonic() - started:.1f}s)", flush=True)
    print(f"{ran - len(failures)} passed, {len(failures)} failed")
    sys.exit(1 if failures else 0)
