"""Starts (up) or stops (down) the one Xvfb server and Wine prefix that a test run shares."""
import contextlib
import os
import subprocess
import sys
import time

STATE = os.environ["QUILLMERE_E2E_STATE"]
QUIET = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

def up():
    down()
    os.makedirs(STATE, exist_ok=True)
    number = next(n for n in range(90, 140) if not os.path.exists(f"/tmp/.X{n}-lock")
                  and not os.path.exists(f"/tmp/.X11-unix/X{n}"))
    env = dict(os.environ, DISPLAY=f":{number}", WINEDLLOVERRIDES="mscoree,mshtml=")
    xvfb = subprocess.Popen(["Xvfb", env["DISPLAY"], "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            start_new_session=True, **QUIET)
    open(os.path.join(STATE, "xvfb.pid"), "w").write(str(xvfb.pid))
    open(os.path.join(STATE, "display"), "w").write(env["DISPLAY"])
    deadline = time.monotonic() + 20
    while subprocess.run(["xdpyinfo"], env=env, **QUIET).returncode != 0:
        if time.monotonic() > deadline:
            sys.exit(f"Xvfb on {env['DISPLAY']} did not start")
        time.sleep(0.1)
    # The prefix is kept between runs; a persistent wineserver keeps every start quick.
    if not os.path.exists(os.path.join(os.environ["WINEPREFIX"], "system.reg")):
        subprocess.run(["wineboot", "-i"], env=env, timeout=240, **QUIET)
    subprocess.run(["wineserver", "-w"], env=env, timeout=120, **QUIET)
    subprocess.run(["wineserver", "-p"], env=env, timeout=30, start_new_session=True, **QUIET)
    print(f"Xvfb {env['DISPLAY']}, Wine prefix {os.environ['WINEPREFIX']}")

def down():
    pid, display = os.path.join(STATE, "xvfb.pid"), os.path.join(STATE, "display")
    if os.path.exists(display):
        env = dict(os.environ, DISPLAY=open(display).read().strip())
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True, timeout=30)
        os.remove(display)  # so that no later run takes over a display that another run now has
    if os.path.exists(pid):
        with contextlib.suppress(ProcessLookupError, ValueError):
            os.kill(int(open(pid).read()), 15)
        os.remove(pid)

if __name__ == "__main__":
    {"up": up, "down": down}[sys.argv[1]]()
