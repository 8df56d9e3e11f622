"""Drives the real quillmere.scr under Wine on the test's X server; every wait has a time limit."""
import contextlib
import os
import re
import shutil
import subprocess
import tempfile
import time

STATE, SCR = os.environ["QUILLMERE_E2E_STATE"], os.environ["QUILLMERE_SCR"]
STAND_IN = os.path.join(os.environ["QUILLMERE_PROGRAMS"], "stand_in.exe")
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
ASSETS = os.path.join(ROOT, "assets")
VERSION = open(f"{ROOT}/CMakeLists.txt").read().split("project(quillmere VERSION ")[1].split()[0]
# The fixtures set DISPLAY and WINEPREFIX here for every program a test starts.
ENV = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
# The windows' titles, as the program's header gives them.
ENTRY_H = open(f"{ROOT}/startup/entry.h", encoding="utf-8").read()
TITLES = dict(re.findall(r'k(\w+)Title = "(.*)"', ENTRY_H))
SAVER, DIALOG = TITLES["SaverWindow"], TITLES["SettingsDialog"]
KEYS = ["Kind", "Size", "Speed", "Num", "Intval", "Sync"]
END_LIMIT = 6  # without a window manager Wine takes about 2 s to tear a full-screen window down
QUIET = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
_runs, _test = [], ["none"]  # the programs the running test started, and its name


def wait_until(what, predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        assert time.monotonic() < deadline, f"timed out after {timeout}s waiting for {what}"
        time.sleep(interval)
    return value


def ini(**values):
    return "[Section]\r\n" + "".join(f"{k}={v}\r\n" for k, v in values.items())


# The dialog's background at a few rows (layout pixels): grey level v as (v, v, v + 30).
BACKGROUND = {23: 68, 60: 160, 116: 220, 180: 141, 229: 6}
BUSY, WHITE = ini(Num=50, Size=10, Speed=10, Intval=60), (255, 255, 255)


class Run:
    """One start of a program of ours from a folder holding a copy of it."""

    def __init__(self, args, ini=None, exe=SCR, folder=None):
        self.folder = folder or tempfile.mkdtemp(prefix="quillmere-e2e-")
        os.makedirs(self.folder, exist_ok=True)
        for program in (exe, SCR):  # a stand-in previews with the quillmere.scr beside it
            if not os.path.exists(os.path.join(self.folder, os.path.basename(program))):
                shutil.copy(program, self.folder)
        self.ini = os.path.join(self.folder, "quillmere.ini")
        self.what = f"{os.path.basename(exe)} {args}"
        if ini is not None:
            open(self.ini, "wb").write(ini.encode() if isinstance(ini, str) else ini)
        command = ["wine", os.path.join(self.folder, os.path.basename(exe)), *args]
        self.proc = subprocess.Popen(command, cwd=self.folder, env=ENV, **QUIET)
        _runs.append(self)

    def ini_bytes(self):
        return open(self.ini, "rb").read() if os.path.isfile(self.ini) else None

    def wait_exit(self, timeout=END_LIMIT):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"{self.what} still runs {timeout}s later")

    def report(self, name="ready.txt", timeout=20):
        """What the stand-in wrote in ready.txt or result.txt; it renames each into place whole."""
        path = os.path.join(self.folder, name)
        wait_until(f"{name} from {self.what}", lambda: os.path.exists(path), timeout)
        return dict(line.split("=", 1) for line in open(path).read().split())

    def end(self, how="close", gone=True):
        """Has a host stand-in close the preview or destroy the pane; its result, and its end."""
        open(os.path.join(self.folder, f"{how}.txt"), "w").close()
        result = self.report("result.txt", 15)
        if gone:  # its window takes about 2 s to go
            self.wait_exit(15)
        return result


def stand_in(*args):
    """Our stand-in for the rest of the system (programs/stand_in.cpp), quillmere.scr beside it."""
    return Run(list(map(str, args)), exe=STAND_IN)


def deliver(how, title, message, wparam=0):
    """The windowless stand-in posts or sends a message; it reports once the window has gone."""
    poster = stand_in(how, title, message, wparam)
    report = poster.report()
    assert report["posted"] == "1", f"{title!r} did not take the message (in 10 s)"
    return poster, report


def accessible_report(*ids):
    """The stand-in's reading of the dialog (ReadAccessible): the rows by id, 0 the client, as [role,
    state, name, value, (x, y, w, h), and its other fields], and the lines that follow them."""
    run = Run(["read", DIALOG, *map(str, ids)], exe=STAND_IN)
    code, text = run.wait_exit(60), open(os.path.join(run.folder, "report.txt"), encoding="utf-8")
    lines = [line.split("\t") for line in text.read().splitlines()]
    assert code == 0, f"the reader found no object: {lines}"
    rows = {
        int(id): [int(role), int(state), name, value, tuple(map(int, box.split())), *ids]
        for id, role, state, name, value, box, *ids in filter(lambda f: f[0].isdigit(), lines)
    }
    return rows, [fields for fields in lines if not fields[0].isdigit()]


def xdotool(*args):
    return subprocess.run(
        ["xdotool", *map(str, args)], env=ENV, capture_output=True, text=True, timeout=10
    ).stdout


def windows_titled(title):
    return xdotool("search", "--onlyvisible", "--name", f"^{re.escape(title)}$").split()


def find_window(title, timeout=20):
    return wait_until(
        f"a window titled {title!r}", lambda: (windows_titled(title) or [None])[0], timeout
    )


SET = (321, 200)


class Dialog:
    """The settings dialog, started with /c; points are in its layout pixels, at 96 dpi and above."""

    def __init__(self, ini=None, folder=None, dpi=96, exe=SCR):
        self.run, self.dpi = Run(["/c"], ini=ini, folder=folder, exe=exe), dpi
        self.wid = find_window(DIALOG)
        time.sleep(0.5)
        self.x, self.y, self.w, self.h = geometry(self.wid)

    def at(self, v):  # layout pixels to physical ones, halves up
        return int(v * self.dpi / 96 + 0.5)

    def click(self, point, button=1):
        click(self.x + self.at(point[0]), self.y + self.at(point[1]), button)
        time.sleep(0.3)

    def values(self):
        self.run.wait_exit(10)
        lines = (self.run.ini_bytes() or b"no file").decode().split()
        assert lines[0] == "[Section]", f"file {lines}"
        hand_written = ("Language=", "FrameRate=")
        entries = [line.split("=") for line in lines[1:] if not line.startswith(hand_written)]
        assert [key for key, value in entries] == KEYS
        return [int(value) for key, value in entries]


def start_saver(args=("/s",), settings=BUSY, pointer=(512, 384)):
    """Starts the saver with the pointer at a known place; returns the run and the saver window."""
    xdotool("mousemove", *pointer)
    run = Run(args, ini=settings)
    return run, find_window(SAVER)


@contextlib.contextmanager
def white_window(x, y, w, h):
    """Another program's white window (ImageMagick's display), shown while the block runs."""
    white = subprocess.Popen(
        ["display", "-geometry", f"+{x}+{y}", "-size", f"{w}x{h}", "xc:white"], env=ENV
    )
    try:
        wait_until("a white window", lambda: Shot().pixel(x + 5, y + 5) == WHITE, 10)
        yield
    finally:
        white.kill()


def geometry(wid):
    values = dict(v.split("=") for v in xdotool("getwindowgeometry", "--shell", wid).split())
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def key(*names):
    xdotool("key", "--delay", 50, *names)


def click(x, y, button=1):
    xdotool("mousemove", x, y, "sleep", 0.05, "click", button)


class Shot:
    """The whole screen (or a picture file) with its pixels; a named shot is kept as a PNG."""

    def __init__(self, name=None, path=None):
        command = ["convert", path] if path else ["import", "-window", "root"]
        ppm = subprocess.run(
            command + ["-depth", "8", "ppm:-"], env=ENV, capture_output=True, timeout=30, check=True
        ).stdout
        header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", ppm)
        self.width, self.data = int(header[1]), ppm[header.end() :]
        if name:
            os.makedirs(os.path.join(STATE, "shots"), exist_ok=True)
            subprocess.run(
                ["convert", "ppm:-", os.path.join(STATE, "shots", f"{_test[0]}-{name}.png")],
                input=ppm,
                timeout=30,
            )

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i : i + 3])

    def pixels(self, x0, y0, x1, y1, step=1):
        return [self.pixel(x, y) for y in range(y0, y1, step) for x in range(x0, x1, step)]

    def colours(self, *box):
        return set(self.pixels(*box))

    def shows(self, picture, x0, y0, w, h, scale=1):
        """Whether w x h pixels from (x0, y0) are the picture's top-left, each pixel scale times over."""
        return all(
            self.pixel(x0 + x, y0 + y) == picture.pixel(x // scale, y // scale)
            for y in range(h)
            for x in range(w)
        )


def check_the_still_in_panes(panes, scale=1):
    """The still from each pane's top-left, scale times over, black beyond, the host's green around."""
    still = Shot(path=os.path.join(ASSETS, "preview.bmp"))
    for w, h in panes:
        stand_in(w, h, "inproc").report()
        time.sleep(0.5)
        shot, sw, sh = Shot(f"{w}x{h}"), min(w, 152 * scale), min(h, 112 * scale)
        assert shot.shows(still, 120, 120, sw, sh, scale), f"{w}x{h}: not the still at {scale}x"
        for x0, y0, x1, y1, colour in (
            (sw, 0, w, h, (0, 0, 0)),
            (0, sh, w, h, (0, 0, 0)),
            (w, 0, w + 9, h, (0, 160, 0)),
            (0, h, w, h + 9, (0, 160, 0)),
        ):
            seen = shot.colours(120 + x0, 120 + y0, 120 + x1, 120 + y1)
            where = f"{w}x{h}: {x0},{y0}-{x1},{y1}"
            assert seen <= {colour}, f"{where} shows {sorted(seen)[:3]}, not {colour}"


def quietly(*command, timeout=60, **options):
    return subprocess.run(command, env=ENV, timeout=timeout, **QUIET, **options)
