"""The skinned settings dialog of the real quillmere.scr: its place, its painted background and
textured panels, the choosers and the set button writing the file, cancel and exit leaving it
alone, the title-strip drag, and a commit that cannot be written."""
import math
import os
import shutil
import tempfile

from harness import *

ASSETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets")
TITLE = "quillmereの設定"
KEYS = ["Kind", "Size", "Speed", "Num", "Intval", "Sync"]
PIC_A = (12, 36)
PIC_B = (228, 36)


class Dialog:
    def __init__(self, ini=None, folder=None):
        self.run = Run(["/c"], ini=ini, folder=folder)
        self.wid = find_window(TITLE, timeout=30)
        time.sleep(0.7)
        self.x, self.y, self.w, self.h = window_geometry(self.wid)

    def at(self, x, y):
        return self.x + x, self.y + y

    def click(self, x, y, button=1):
        click(*self.at(x, y), button=button)
        time.sleep(0.3)

    def press_set(self):
        self.click(276 + 45, 192 + 8)

    def press_cancel(self):
        self.click(372 + 45, 192 + 8)

    def closed(self):
        self.run.wait_exit(10, "the settings dialog to close")


def values_of(text):
    lines = [line.strip() for line in text.splitlines() if line.strip()]
    check(lines[0] == "[Section]", f"the file starts with {lines[0]!r}")
    pairs = [line.split("=", 1) for line in lines[1:]]
    check([key for key, _ in pairs] == KEYS, f"keys in the file: {[key for key, _ in pairs]}")
    return {key: value.strip() for key, value in pairs}


def painter_colour(y, height=231):
    v = round(abs(math.sin(y / (height / 3.142)) * 220))
    return (v, v, v + 30)


def test_the_dialog_opens_at_the_centre_of_the_screen():
    dialog = Dialog()
    check((dialog.w, dialog.h) == (476, 231), f"the dialog is {dialog.w}x{dialog.h}")
    check(dialog.x == (1024 - 476) // 2 and dialog.y in (268, 269),
          f"the dialog lies at {dialog.x},{dialog.y}")
    screenshot("dialog")
    dialog.press_cancel()
    dialog.closed()


def test_the_background_is_painted_and_the_panels_carry_the_texture():
    dialog = Dialog()
    shot = screenshot("skin")
    for y in (23, 30, 60, 115, 116, 150, 180, 200, 230):
        for x in (2, 8, 470):
            got = shot.pixel(*dialog.at(x, y))
            check(got == painter_colour(y), f"background at {x},{y} is {got}, not {painter_colour(y)}")
    tile = Shot(os.path.join(ASSETS, "texture.bmp"))
    for (px, py), spots in ((PIC_A, [(195, 2), (192, 30), (190, 130), (2, 125)]),
                            (PIC_B, [(2, 2), (3, 30), (40, 100), (225, 128), (228, 60)])):
        for x, y in spots:
            got = shot.pixel(*dialog.at(px + x, py + y))
            want = tile.pixel(x % 239, y % 26)
            check(got == want, f"panel at {px},{py}, pixel {x},{y} is {got}, the tile has {want}")
    dialog.press_cancel()
    dialog.closed()


def test_a_covered_dialog_looks_the_same_once_uncovered():
    dialog = Dialog()
    before = screenshot("uncovered")
    folder = tempfile.mkdtemp(prefix="quillmere-e2e-")
    shutil.copy(SCR, os.path.join(folder, "quillmere.scr"))
    # The preview host's window, 440 x 340 at 100, 100, lies over the dialog's top-left part.
    cover = Run(["400", "300"], exe=program("preview_host"), folder=folder)
    wait_until("the covering window", lambda: os.path.exists(os.path.join(folder, "ready.txt")), 20)
    time.sleep(0.5)
    covered = screenshot("covered")
    check(covered.pixel(*dialog.at(20, 40)) == (0, 0, 200), "the dialog was not covered")
    with open(os.path.join(folder, "end.txt"), "w") as f:
        f.write("close")
    cover.wait_exit(15, "the covering window to go")
    time.sleep(0.7)
    after = screenshot("uncovered-again")
    for y in range(dialog.h):
        for x in range(dialog.w):
            if after.pixel(*dialog.at(x, y)) != before.pixel(*dialog.at(x, y)):
                fail(f"dialog pixel {x},{y} was {before.pixel(*dialog.at(x, y))} before it was "
                     f"covered and {after.pixel(*dialog.at(x, y))} after")
    dialog.press_cancel()
    dialog.closed()


def test_a_pattern_strip_and_set_write_that_kind_and_the_other_five_values():
    ini = "[Section]\r\nKind=0\r\nSize=7\r\nSpeed=3\r\nNum=120\r\nIntval=20\r\nSync=1\r\n"
    dialog = Dialog(ini=ini)
    dialog.click(PIC_A[0] + 24 + 80, PIC_A[1] + 48 + 6, button=3)
    dialog.press_set()
    dialog.closed()
    values = values_of(dialog.run.ini_text())
    check(values == {"Kind": "2", "Size": "7", "Speed": "3", "Num": "120", "Intval": "20", "Sync": "1"},
          f"after the third strip and set: {values}")


def test_the_random_label_and_set_create_the_file_with_all_six_keys():
    dialog = Dialog()
    dialog.click(PIC_A[0] + 24 + 10, PIC_A[1] + 108 + 6)
    dialog.click(PIC_B[0] + 156 + 10, PIC_B[1] + 108 + 6)
    dialog.press_set()
    dialog.closed()
    values = values_of(dialog.run.ini_text())
    check(values == {"Kind": "5", "Size": "5", "Speed": "5", "Num": "100", "Intval": "10", "Sync": "1"},
          f"after ﾗﾝﾀﾞﾑ, 非同期 and set: {values}")


def test_a_slider_arrow_then_cancel_leaves_the_file_byte_for_byte():
    ini = b"[Section]\r\nKind=3\r\nSize=6\r\nSpeed=4\r\nNum=150\r\nIntval=15\r\nSync=0\r\n; kept\r\n"
    dialog = Dialog(ini=ini)
    x0, y0 = dialog.at(PIC_B[0] + 176, PIC_B[1] + 12)
    before = screenshot("before-arrow")
    dialog.click(PIC_B[0] + 88 + 85 - 6, PIC_B[1] + 8 + 8)
    after = screenshot("after-arrow")
    changed = any(before.pixel(x0 + dx, y0 + dy) != after.pixel(x0 + dx, y0 + dy)
                  for dx in range(25) for dy in range(13))
    check(changed, "the size label did not change after the arrow click")
    dialog.press_cancel()
    dialog.closed()
    with open(dialog.run.ini_path, "rb") as f:
        check(f.read() == ini, "cancel changed the settings file")


def test_the_exit_button_closes_without_writing():
    dialog = Dialog()
    dialog.click(PIC_B[0] + 20, PIC_B[1] + 8 + 8)
    dialog.click(456 + 7, 4 + 7)
    dialog.closed()
    check(dialog.run.ini_text() is None, "the exit button wrote a settings file")


def test_enter_and_escape_do_nothing_and_alt_f4_closes_without_writing():
    dialog = Dialog()
    dialog.click(PIC_B[0] + 88 + 85 - 6, PIC_B[1] + 8 + 8)
    key("Return")
    key("Escape")
    time.sleep(1)
    check(dialog.run.alive(), "Enter or Escape closed the dialog")
    key("alt+F4")
    dialog.closed()
    check(dialog.run.ini_text() is None, "a close from the system wrote a settings file")


def test_dragging_the_title_strip_moves_the_window_by_the_drag():
    dialog = Dialog()
    sx, sy = dialog.at(200, 10)
    move(sx, sy)
    time.sleep(0.2)
    mouse_down(1)
    for step in range(1, 11):
        move(sx + 10 * step, sy + 5 * step)
        time.sleep(0.05)
    mouse_up(1)
    time.sleep(0.5)
    x, y, _, _ = window_geometry(dialog.wid)
    check((x, y) == (dialog.x + 100, dialog.y + 50),
          f"dragged by 100,50 from {dialog.x},{dialog.y}, the dialog lies at {x},{y}")
    dialog.x, dialog.y = x, y
    dialog.press_cancel()
    dialog.closed()


def test_a_failed_write_says_so_and_keeps_the_dialog_open():
    folder = tempfile.mkdtemp(prefix="quillmere-e2e-")
    os.mkdir(os.path.join(folder, "quillmere.ini"))
    dialog = Dialog(folder=folder)
    dialog.press_set()
    find_window("quillmere", timeout=10)
    screenshot("not-saved")
    key("Return")
    time.sleep(0.7)
    check(dialog.run.alive() and windows_titled(TITLE), "the dialog closed after a failed write")
    dialog.press_cancel()
    dialog.closed()


run_tests(globals())
