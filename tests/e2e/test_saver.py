"""The full-screen saver of the real quillmere.scr."""
import time

import pytest

from harness import *

BLACK, LARGEST = (0, 0, 0), 2**31 - 1
GRID = [(x, y) for y in range(0, 768, 16) for x in range(0, 1024, 16)]


# What every window shows, colour for colour, is the stand-in's "screens" to judge.
def test_the_saver_clears_every_second_tick():
    run, _ = start_saver(settings=ini(Kind=0, Num=50, Size=10, Speed=10, Intval=2))
    wait_until("trails", lambda: len(Shot().colours(0, 0, 1024, 768, 4)) > 6, 10)
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


# Each row: the switches, the settings (hostile ones too: whether each paints as it should is the
# saver frame fuzzer's to judge), where the pointer starts and moves along one axis alone, and
# what ends it: a key (Alt, pressed first, alone, and F10 come as system keys), a button, a move.
ENDINGS = {
    "a key": ("/s", ini(Num=0), [], "a"),
    "alt with a key": ("/s", ini(Kind=99, Num=50, Size=10), [], "alt+x"),
    "left button": ("/s", ini(Num=LARGEST, Size=LARGEST, Speed=LARGEST, Intval=0), [], 1),
    "right button": ("/s", BUSY + "FrameRate=1\r\n", [], 3),
    "F10 alone": ("", BUSY, [], "F10"),
    "middle button": ("", BUSY, [], 2),
    "no argument": ("", BUSY, [(900, 700), (600, 500), (100, 50), (400, 300)], "space"),
    "x, then both": ("/s", BUSY, [(400, 300), (600, 300), (100, 300), (1000, 300)], (1000, 384)),
    "y, then both": ("/s", BUSY, [(1000, 384), (1000, 500), (1000, 50), (1000, 760)], (50, 760)),
}


@pytest.mark.parametrize("args, settings, moves, end", ENDINGS.values(), ids=ENDINGS)
def test_input_ends_it_as_the_mode_says_and_only_s_hides_the_pointer(args, settings, moves, end):
    run, wid = start_saver(args.split(), settings, pointer=(moves or [(512, 384)])[0])
    assert geometry(wid) == (0, 0, 1024, 768)
    for x, y in moves[1:]:
        xdotool("mousemove", x, y)
        time.sleep(0.2)
    # Longer than a teardown after moves: the window is judged, not the process; and over a new
    # window Wine shows no pointer until it first sets one.
    time.sleep(3.2 if moves else 1 if args else 0)
    shows = lambda: stand_in("pointer").wait_exit(20) == (0 if args else 1)
    wait_until("the pointer as the mode says", shows, 5)
    assert windows_titled(SAVER), f"the saver ended before {end} with {settings.split()}"
    if isinstance(end, tuple):
        xdotool("mousemove", *end)
    elif isinstance(end, int):
        click(512, 384, end)  # where the pointer already is
    else:
        key(end)
    run.wait_exit()
