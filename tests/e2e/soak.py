"""The real saver left running on two monitors, re-steering and rebuilding every monitor's colour
table every second: its memory must stay flat. Run by scripts/soak, never by ctest."""
import os, time

import pytest

from harness import *

pytestmark = pytest.mark.own_prefix(
    "monitors",
    screens=["-screen", "1024x768", "-screen", "800x600", "+xinerama", "-extension", "RANDR"],
)


def resident_kib(pid):
    return int(next(l for l in open(f"/proc/{pid}/status") if l.startswith("VmRSS:")).split()[1])


@pytest.mark.limit(int(os.environ["SOAK_SECONDS"]) + 60)
def test_soak_keeps_memory_flat():
    seconds = int(os.environ["SOAK_SECONDS"])
    run = Run(["/s"], ini=ini(Kind=5, Intval=1, Sync=1, Num=200, Size=20))
    find_window(SAVER)
    samples, started = [], time.monotonic()
    while time.monotonic() - started < seconds:
        elapsed = time.monotonic() - started
        assert windows_titled(SAVER), f"the saver ended by itself after {elapsed:.0f}s"
        samples.append((elapsed, resident_kib(run.proc.pid)))
        time.sleep(5)
    settled = [kib for t, kib in samples if t >= min(20, seconds // 3)]
    print("resident KiB every 5 s:", *(kib for _, kib in samples))
    grew = f"memory grew from {settled[0]} to {settled[-1]} KiB (max {max(settled)})"
    assert settled[-1] - settled[0] <= 1024 and max(settled) - min(settled) <= 2048, grew
    key("space")
    run.wait_exit()
