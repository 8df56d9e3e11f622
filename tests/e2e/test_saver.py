"""The full-screen saver of the real quillmere.scr: its window, what it paints, how it ends,
hostile settings, and the canvas of the Windows build against the native one."""
import os
import time

from harness import *

TITLE = "quillmere_Main"
SCREEN = (1024, 768)
# Window teardown without a window manager takes about two seconds under Wine.
END_LIMIT = 2 + 4
HASHES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "saver", "canvas_hashes.txt")

GOLD_HALF = [(250, 250), (250, 240), (250, 230), (250, 220), (250, 210), (240, 200), (230, 190),
             (220, 200), (210, 190), (200, 180), (190, 170), (190, 160), (190, 150), (180, 140),
             (180, 130), (170, 120), (170, 110), (170, 100), (160, 90), (160, 80)]


def ini(kind=0, size=5, speed=5, num=100, intval=10, sync=0):
    return (f"[Section]\nKind={kind}\nSize={size}\nSpeed={speed}\nNum={num}\n"
            f"Intval={intval}\nSync={sync}\n")


def start_saver(args=("/s",), settings=None, pointer=(512, 384)):
    move(*pointer)
    run = Run(list(args), ini=settings if settings is not None else ini())
    wid = find_window(TITLE, timeout=20)
    time.sleep(1.0)
    check(run.alive(), "the saver ended by itself")
    return run, wid


def palette(pattern, width):
    run = Run(["palette", str(pattern), str(width)], exe=program("canvas_hash"))
    check(run.wait_exit(30, "the palette dump") == 0, "the palette dump failed")
    with open(os.path.join(run.folder, "palette.txt")) as f:
        return {tuple(int(v) for v in line.split()) for line in f if line.strip()}


def ends_soon(run, what):
    started = time.monotonic()
    run.wait_exit(END_LIMIT, what)
    return time.monotonic() - started


def stays(run, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        check(run.alive(), f"the saver ended after {what}")
        time.sleep(0.1)


def test_full_screen_window_covers_the_screen():
    run, wid = start_saver()
    check(window_geometry(wid) == (0, 0) + SCREEN, f"saver window at {window_geometry(wid)}")
    check(len(windows_titled(TITLE)) == 1, "more than one saver window")
    key("space")
    ends_soon(run, "a key to end the saver")


def test_screen_shows_only_the_patterns_colours():
    gold = {(r, g, 0) for r, g in GOLD_HALF}
    cases = [(0, gold, 0), (1, None, 1), (2, None, 0), (3, None, 1)]
    for kind, colours, sync in cases:
        allowed = (colours or palette(kind, SCREEN[0])) | {(0, 0, 0)}
        run, _ = start_saver(settings=ini(kind=kind, sync=sync))
        shot = screenshot(f"pattern{kind}")
        seen = shot.region_colours(0, 0, *SCREEN)
        stray = seen - allowed
        check(not stray, f"pattern {kind}: {len(stray)} colours outside its table, e.g. {sorted(stray)[:3]}")
        check(len(seen) > 5, f"pattern {kind}: only {len(seen)} colours painted after a second")
        key("Escape")
        ends_soon(run, f"a key to end the saver of pattern {kind}")


def test_a_key_ends_it():
    for name in ("a", "shift+F5", "alt+x"):
        run, _ = start_saver()
        key(name)
        ends_soon(run, f"the key {name} to end the saver")
        assert_no_window(TITLE, 0.5)


def test_a_click_ends_it():
    for button in (1, 3):
        run, _ = start_saver()
        click(300, 200, button)
        ends_soon(run, f"a click of button {button} to end the saver")


def test_moving_along_one_axis_does_not_end_it_but_along_both_does():
    run, _ = start_saver(pointer=(400, 300))
    for y in (250, 150, 60, 700):
        move(400, y)
        time.sleep(0.15)
    for x in (450, 600, 20):
        move(x, 700)
        time.sleep(0.15)
    stays(run, 1.5, "moves along one axis at a time")
    move(30, 650)
    ends_soon(run, "a move along both axes to end the saver")


def test_with_no_argument_moves_never_end_it():
    run, _ = start_saver(args=())
    for x, y in ((100, 100), (300, 420), (900, 50), (512, 700)):
        move(x, y)
        time.sleep(0.2)
    stays(run, 1.5, "mouse moves with an empty argument text")
    key("Return")
    ends_soon(run, "a key to end the saver started without an argument")


def test_a_second_start_ends_at_once():
    run, _ = start_saver()
    second = Run(["/s"])
    second.wait_exit(10, "a second /s to end at once")
    check(run.alive(), "the first saver ended")
    check(len(windows_titled(TITLE)) == 1, "a second saver window appeared")
    key("q")
    ends_soon(run, "a key to end the first saver")


def test_hostile_settings_still_open_and_end():
    max32, min32 = 2147483647, -2147483648
    cases = [
        dict(kind=99, size=-5, speed=0, num=100, intval=0, sync=7),
        dict(kind=min32, size=max32, speed=max32, num=200, intval=min32, sync=max32),
        dict(kind=5, size=0, speed=-3, num=max32, intval=1, sync=1),
        dict(kind=3, size=max32, speed=10, num=max32, intval=max32, sync=0),
        dict(kind=4, size=1000000, speed=min32, num=0, intval=5, sync=min32),
    ]
    for values in cases:
        run, _ = start_saver(settings=ini(**values))
        key("a")
        ends_soon(run, f"a key to end the saver with {values}")


def test_windows_canvas_matches_the_native_one():
    with open(HASHES) as f:
        rows = [line.split() for line in f if line.strip() and not line.startswith("#")]
    check(len(rows) >= 5, "too few recorded canvas hashes")
    for row in rows:
        run = Run(row[:-1], exe=program("canvas_hash"))
        check(run.wait_exit(60, f"the canvas hash of {row[:-1]}") == 0, "canvas_hash failed")
        with open(os.path.join(run.folder, "hash.txt")) as f:
            got = f.read().strip()
        check(got == row[-1], f"canvas of {' '.join(row[:-1])}: Windows {got}, native {row[-1]}")


run_tests(globals())
