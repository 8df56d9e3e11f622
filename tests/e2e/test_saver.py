"""The full-screen saver of the real quillmere.scr."""
import os
import time

import pytest

from harness import *

BLACK = (0, 0, 0)
GRID = [(x, y) for y in range(0, 768, 16) for x in range(0, 1024, 16)]


def gold(colour):
    """The gold table's colours: no blue, red 160 to 250 and green 80 up to the red, in tens."""
    red, green, blue = colour
    return blue == 0 and red % 10 == green % 10 == 0 and 160 <= red <= 250 and 80 <= green <= red


# That every window shows all of its canvas is the stand-in's "screens" to judge.
def test_the_saver_paints_in_gold_and_clears_every_second_tick():
    run, _ = start_saver(settings=ini(Kind=0, Num=50, Size=10, Speed=10, Intval=2))
    wait_until("trails", lambda: len(Shot().colours(0, 0, 1024, 768, 4)) > 6, 10)
    seen = Shot("gold").colours(0, 0, 1024, 768, 4) - {BLACK}
    assert len(seen) > 5, "too few colours for the gold table"
    assert all(map(gold, seen)), f"colours outside the gold table: {sorted(seen)}"
    # Only a clear turns a painted pixel black again.
    clears, last, started = [], set(), time.monotonic()
    while time.monotonic() - started < 8.5:
        shot, now = Shot(), time.monotonic()
        lit = {point for point in GRID if shot.pixel(*point) != BLACK}
        if len(last - lit) > 10:
            clears.append(now)
        last = lit
    gaps = sorted(b - a for a, b in zip(clears, clears[1:]))
    cleared_at = [round(t - started, 1) for t in clears]
    assert len(gaps) >= 2, f"with Intval 2 the canvas cleared at {cleared_at} s"
    assert 1.5 <= gaps[len(gaps) // 2] <= 2.6, f"with Intval 2 the canvas cleared at {cleared_at} s"


# Hostile settings too: whether each paints as it should is the saver frame fuzzer's to judge.
@pytest.mark.parametrize(
    "args, action, settings",
    [
        (["/s"], "a", ini(Num=0)),
        (["/s"], "alt+x", ini(Kind=99, Num=50, Size=10)),
        (["/s"], 1, ini(Num=2**31 - 1, Size=2**31 - 1, Speed=2**31 - 1, Intval=0)),
        (["/s"], 3, BUSY + "FrameRate=1\r\n"),
        ([], "F10", BUSY),
        ([], 2, BUSY),
    ],
    ids=["a key", "alt with a key", "left button", "right button", "F10 alone", "middle button"],
)
def test_a_key_or_a_button_ends_the_full_screen_saver_and_only_s_hides_the_pointer(
    args, action, settings
):
    # Alt (pressed first, alone) and F10 come as system keys.
    run, wid = start_saver(args, settings)
    assert geometry(wid) == (0, 0, 1024, 768)
    time.sleep(1 if args else 0)  # over a new window Wine shows no pointer until it first sets one
    shows = lambda: stand_in("pointer").wait_exit(20) == (0 if args else 1)
    wait_until("the pointer as the mode says", shows, 5)
    assert windows_titled(SAVER), f"the saver ended by itself with {settings.split()}"
    if isinstance(action, int):
        click(512, 384, action)  # where the pointer already is
    else:
        key(action)
    run.wait_exit()


# Each row starts where Wine last saw the pointer; its last move differs from the first alone.
@pytest.mark.parametrize(
    "args, moves, last",
    [
        ([], [(900, 700), (600, 500), (100, 50), (400, 300)], None),
        (["/s"], [(400, 300), (600, 300), (100, 300), (1000, 300)], (1000, 384)),
        (["/s"], [(1000, 384), (1000, 500), (1000, 50), (1000, 760)], (50, 760)),
    ],
    ids=["no argument: moves never end it", "/s: along x, then both", "/s: along y, then both"],
)
def test_only_a_move_in_both_directions_ends_it_and_only_with_s(args, moves, last):
    run, _ = start_saver(args, pointer=moves[0])
    for x, y in moves[1:]:
        xdotool("mousemove", x, y)
        time.sleep(0.2)
    time.sleep(3.2)  # longer than a teardown, and the window is judged, not the process
    assert windows_titled(SAVER), "a move along one axis ended the saver"
    if last:
        xdotool("mousemove", *last)
    else:
        key("space")
    run.wait_exit()


def test_this_build_draws_the_canvases_recorded_natively():
    run = Run(["canvases"], exe=STAND_IN)
    assert run.wait_exit(60) == 0, open(os.path.join(run.folder, "canvases.txt")).read()
