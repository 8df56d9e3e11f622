"""The saver left running for a long time, and started twice at once."""
import os
import time

from harness import *

SOAK_SECONDS = int(os.environ.get("QUILLMERE_SOAK_SECONDS", "120"))
WARM_UP_SECONDS = min(20, SOAK_SECONDS // 3)
# The colour table is rebuilt every second; what a rebuild frees must come back.
ALLOWED_GROWTH_KIB = 1024


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    fail(f"no VmRSS for process {pid}")


def test_soak_keeps_memory_flat():
    ini = "[Section]\r\nKind=5\r\nIntval=1\r\nSync=1\r\nNum=200\r\nSize=20\r\n"
    run = Run(["/s"], ini=ini)
    find_window("quillmere_Main", timeout=15)
    samples = []
    started = time.monotonic()
    while time.monotonic() - started < SOAK_SECONDS:
        check(run.alive(), f"the saver ended by itself after {time.monotonic() - started:.0f}s")
        samples.append((time.monotonic() - started, resident_kib(run.proc.pid)))
        time.sleep(5)
    settled = [kib for t, kib in samples if t >= WARM_UP_SECONDS]
    print("resident KiB every 5 s:", " ".join(str(kib) for _, kib in samples))
    print(f"after warm-up: min {min(settled)} KiB, max {max(settled)} KiB, last {settled[-1]} KiB")
    check(settled[-1] - settled[0] <= ALLOWED_GROWTH_KIB and max(settled) - min(settled) <= 2 * ALLOWED_GROWTH_KIB,
          f"memory grew from {settled[0]} to {settled[-1]} KiB (max {max(settled)})")
    key("space")
    run.wait_exit(6, "the saver to end after the soak")


test_soak_keeps_memory_flat.time_limit = SOAK_SECONDS + 60


def started_together(args, title):
    """Starts two copies at the same moment; exactly one window results and the other ends."""
    first = Run(args)
    second = Run(args, folder=first.folder)
    find_window(title, timeout=15)
    time.sleep(3)
    check(len(windows_titled(title)) == 1, f"two starts of {args} gave {len(windows_titled(title))} windows")
    check(first.alive() != second.alive(), f"of two starts of {args}, {'both' if first.alive() else 'neither'} lived on")
    return first if first.alive() else second


def test_two_savers_started_at_once_give_one_window():
    survivor = started_together(["/s"], "quillmere_Main")
    key("space")
    survivor.wait_exit(6, "the remaining saver to end on a key")


def test_two_dialogs_started_at_once_give_one_window():
    survivor = started_together(["/c"], "quillmereの設定")
    key("alt+F4")
    survivor.wait_exit(10, "the remaining dialog to close")


run_tests(globals())
