"""The end-to-end tests' surroundings: an Xvfb and the run's booted Wine prefix for each file, a
prefix of its own (on an Xephyr where asked) for a file that changes Wine, and for each test a time
limit and the end of every program it started."""

import fcntl
import os
import shutil
import signal
import subprocess
import time

import pytest

import harness
from harness import ENV, STATE, quietly, wait_until


def display_in_use(n):
    """Whether a live X server holds display n; a lock left by a killed one does not count."""
    try:
        pid = int(open(f"/tmp/.X{n}-lock").read().strip())
    except (OSError, ValueError):
        return os.path.exists(f"/tmp/.X11-unix/X{n}")
    return os.path.exists(f"/proc/{pid}")


def stop_x_server(server):
    """Ends the server so that it removes its lock, and the display is free for the next run."""
    server.terminate()
    server.wait(10)


def start_x_server(command, first_display):
    """Starts the server on the first free display; another run that takes the same display at the
    same moment makes ours end at once, and the next one is tried."""
    for n in range(first_display, first_display + 60):
        if display_in_use(n):
            continue
        server = subprocess.Popen(
            [command[0], f":{n}", *command[1:], "-nolisten", "tcp"],
            env=ENV,
            start_new_session=True,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        ENV["DISPLAY"] = f":{n}"
        wait_until(
            f"{command[0]} on :{n}",
            lambda: server.poll() is not None or quietly("xdpyinfo").returncode == 0,
            20,
        )
        time.sleep(0.2)  # a server that lost the display may still be on its way out
        if server.poll() is None:
            return server
    raise AssertionError(f"no display for {command[0]}")


def booted_prefix():
    """The run's prefix, booted once and kept between runs; files running side by side wait here for
    the one that boots it."""
    os.makedirs(STATE, exist_ok=True)
    with open(os.path.join(STATE, "boot.lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(os.environ["WINEPREFIX"], "system.reg")):
            quietly("wineboot", "-i", timeout=240)
            quietly("wineserver", "-w", timeout=120)
    return os.environ["WINEPREFIX"]


@pytest.fixture(scope="module")
def prefix(request):
    """A 1024x768 Xvfb of the file's own, and the run's prefix or, for a file marked own_prefix, a
    copy of it (booted already: a second, where booting takes twenty), on an Xephyr of the given
    screens inside the Xvfb and in the given locale where asked. A file in a prefix of its own can
    run beside the others."""
    before = dict(ENV)
    xvfb = start_x_server(["Xvfb", "-screen", "0", "1024x768x24"], 90)
    ENV["WINEPREFIX"] = booted_prefix()
    marker = request.node.get_closest_marker("own_prefix")
    screens = marker.kwargs.get("screens", ()) if marker else ()
    xephyr = start_x_server(["Xephyr", *screens], 140) if screens else None
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
        stop_x_server(xephyr)
    stop_x_server(xvfb)
    ENV.clear()
    ENV.update(before)


def ran_past_its_limit(signum, frame):
    raise AssertionError("the test ran past its time limit")


@pytest.fixture(autouse=True)
def each_test(request):
    if request.node.get_closest_marker("no_desktop") is None:
        request.getfixturevalue("prefix")
    harness._test[0] = request.node.name
    limit = request.node.get_closest_marker("limit")
    signal.signal(signal.SIGALRM, ran_past_its_limit)
    signal.alarm(limit.args[0] if limit else 90)
    yield
    signal.alarm(0)
    for run in harness._runs:
        if run.proc.poll() is None:
            run.proc.kill()
            run.proc.wait(10)
        shutil.rmtree(run.folder, ignore_errors=True)
    harness._runs.clear()
