"""Starts (up) or stops (down) the one Xvfb server and Wine prefix that a test run shares."""
import os
import shutil
import subprocess
import sys
import time

STATE = os.environ["QUILLMERE_E2E_STATE"]
PREFIX = os.environ["WINEPREFIX"]
SCREEN = os.environ.get("QUILLMERE_E2E_SCREEN", "1024x768x24")


def free_display():
    for number in range(90, 140):
        if not os.path.exists(f"/tmp/.X11-unix/X{number}") and not os.path.exists(f"/tmp/.X{number}-lock"):
            return number
    sys.exit("no free X display number between :90 and :139")


def wait_for(what, predicate, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    sys.exit(f"timed out after {timeout}s waiting for {what}")


def up():
    down(quiet=True)
    os.makedirs(STATE, exist_ok=True)
    number = free_display()
    display = f":{number}"
    log = open(os.path.join(STATE, "xvfb.log"), "w")
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", SCREEN, "-nolisten", "tcp"],
                            stdout=log, stderr=log, start_new_session=True)
    with open(os.path.join(STATE, "xvfb.pid"), "w") as f:
        f.write(str(xvfb.pid))
    with open(os.path.join(STATE, "display"), "w") as f:
        f.write(display)
    env = dict(os.environ, DISPLAY=display)
    wait_for(f"Xvfb on {display}",
             lambda: subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0, 20)

    # The prefix is made once and kept between runs; mono and gecko are never wanted.
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    if not os.path.exists(os.path.join(PREFIX, "system.reg")):
        shutil.rmtree(PREFIX, ignore_errors=True)
        subprocess.run(["wineboot", "-i"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=240)
    subprocess.run(["wineserver", "-w"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)
    # A persistent wineserver keeps every start of the program quick.
    subprocess.Popen(["wineserver", "-p"], env=env, start_new_session=True, stdin=subprocess.DEVNULL,
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).wait(timeout=30)
    print(f"Xvfb {display} ({SCREEN}), Wine prefix {PREFIX}")


def down(quiet=False):
    pid_file = os.path.join(STATE, "xvfb.pid")
    display_file = os.path.join(STATE, "display")
    if os.path.exists(display_file):
        env = dict(os.environ, DISPLAY=open(display_file).read().strip())
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=30)
    if os.path.exists(pid_file):
        try:
            os.kill(int(open(pid_file).read()), 15)
        except (ProcessLookupError, ValueError):
            pass
        os.remove(pid_file)
    if not quiet:
        print("e2e environment stopped")


if __name__ == "__main__":
    {"up": up, "down": down}[sys.argv[1]]()
