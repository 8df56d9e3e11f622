"""Each file's X server and Wine prefix, and each test's time limit and clean-up."""

import fcntl
import os
import shutil
import signal
import sys

import pytest

import harness
from harness import ENV, STATE, quietly

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import xserver  # noqa: E402


def booted_prefix():
    """Booted once and kept between runs; files running side by side wait here for the boot."""
    os.makedirs(STATE, exist_ok=True)
    with open(os.path.join(STATE, "boot.lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(os.environ["WINEPREFIX"], "system.reg")):
            quietly("wineboot", "-i", timeout=240)
            quietly("wineserver", "-w", timeout=120)
    return os.environ["WINEPREFIX"]


@pytest.fixture(scope="module")
def prefix(request):
    """A file marked own_prefix gets a copy of the booted prefix (a second, where booting takes
    twenty), on an Xephyr of the given screens and in the given locale where asked."""
    before = dict(ENV)
    xvfb, ENV["DISPLAY"] = xserver.start(["Xvfb", "-screen", "0", "1024x768x24"], 90, ENV)
    ENV["WINEPREFIX"] = booted_prefix()
    marker = request.node.get_closest_marker("own_prefix")
    screens = marker.kwargs.get("screens", ()) if marker else ()
    xephyr = None
    if screens:
        xephyr, ENV["DISPLAY"] = xserver.start(["Xephyr", *screens], 140, ENV)
    if marker:
        ENV["WINEPREFIX"] = os.path.join(STATE, f"wineprefix-{marker.args[0]}")
        if not os.path.exists(os.path.join(ENV["WINEPREFIX"], "system.reg")):
            shutil.copytree(os.environ["WINEPREFIX"], ENV["WINEPREFIX"], symlinks=True)
    # Wine takes its UI language and code page from the locale its wineserver starts in: an
    # English one unless the file asks for another, whatever the shell's is.
    ENV["LC_ALL"] = ENV["LANG"] = (marker.kwargs if marker else {}).get("locale", "C.UTF-8")
    # A persistent wineserver keeps every start quick.
    quietly("wineserver", "-p", start_new_session=True)
    yield
    quietly("wineserver", "-k", timeout=30)
    if xephyr:
        xserver.stop(xephyr)
    xserver.stop(xvfb)
    ENV.clear()
    ENV.update(before)


@pytest.fixture(autouse=True)
def each_test(request):
    if request.node.get_closest_marker("no_desktop") is None:
        request.getfixturevalue("prefix")
    harness._test[0] = request.node.name
    signal.signal(signal.SIGALRM, lambda *_: pytest.fail("the test ran past its time limit"))
    signal.alarm(90)
    yield
    signal.alarm(0)
    for run in harness._runs:
        if run.proc.poll() is None:
            run.proc.kill()
            run.proc.wait(10)
        shutil.rmtree(run.folder, ignore_errors=True)
    harness._runs.clear()
