#!/usr/bin/env python3
"""Starts an X server on the first free display from a number on, and waits until it answers:
    scripts/xserver.py FIRST Xvfb -screen 0 1024x768x24
prints the display and the server's process id, and leaves the server running (the end-to-end
tests import start and stop instead). An Xephyr opens on the $DISPLAY it is started from."""
import os
import subprocess
import sys
import time


def lock_holder(n):
    """The process id in display n's lock, or None without a readable lock."""
    try:
        return int(open(f"/tmp/.X{n}-lock").read().strip())
    except (OSError, ValueError):
        return None


def in_use(n):
    """Whether a live X server holds display n; a lock left by a killed one does not count."""
    pid = lock_holder(n)
    return os.path.exists(f"/proc/{pid}") if pid else os.path.exists(f"/tmp/.X11-unix/X{n}")


def answers(display, env):
    quiet = subprocess.DEVNULL
    command = ["xdpyinfo", "-display", display]
    return subprocess.run(command, env=env, stdout=quiet, stderr=quiet).returncode == 0


def start(command, first, env=None):
    """The server and its display. Another run that takes the same display at the same moment
    makes ours end, and the next display is tried; until then the other's answers are not ours."""
    for n in range(first, first + 60):
        if in_use(n):
            continue
        quiet = subprocess.DEVNULL
        server = subprocess.Popen(
            [command[0], f":{n}", *command[1:], "-nolisten", "tcp"],
            env=env,
            start_new_session=True,
            stdin=quiet,
            stdout=quiet,
            stderr=quiet,
        )
        deadline = time.monotonic() + 20
        while server.poll() is None and not (
            lock_holder(n) == server.pid and answers(f":{n}", env)
        ):
            if time.monotonic() > deadline:
                server.kill()
                raise RuntimeError(f"{command[0]} on :{n} did not answer in 20 s")
            time.sleep(0.1)
        if server.poll() is None:
            return server, f":{n}"
    raise RuntimeError(f"no free display for {command[0]}")


def stop(server):
    """Ends the server so that it removes its lock, and the display is free for the next run."""
    server.terminate()
    server.wait(10)


if __name__ == "__main__":
    server, display = start(sys.argv[2:], int(sys.argv[1]))
    print(display, server.pid)
